#include "editor/qvEditorCommands.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>

namespace ondrex {

namespace {

#define QV_COMMAND(code)                                                                           \
    TCommandName {                                                                                 \
        code, #code                                                                                \
    }

constexpr std::array kCommandNames{
    QV_COMMAND(ecNone),
    QV_COMMAND(ecLeft),
    QV_COMMAND(ecRight),
    QV_COMMAND(ecUp),
    QV_COMMAND(ecDown),
    QV_COMMAND(ecWordLeft),
    QV_COMMAND(ecWordRight),
    QV_COMMAND(ecLineStart),
    QV_COMMAND(ecLineEnd),
    QV_COMMAND(ecPageUp),
    QV_COMMAND(ecPageDown),
    QV_COMMAND(ecPageLeft),
    QV_COMMAND(ecPageRight),
    QV_COMMAND(ecPageTop),
    QV_COMMAND(ecPageBottom),
    QV_COMMAND(ecEditorTop),
    QV_COMMAND(ecEditorBottom),
    QV_COMMAND(ecGotoXY),
    QV_COMMAND(ecSelLeft),
    QV_COMMAND(ecSelRight),
    QV_COMMAND(ecSelUp),
    QV_COMMAND(ecSelDown),
    QV_COMMAND(ecSelWordLeft),
    QV_COMMAND(ecSelWordRight),
    QV_COMMAND(ecSelLineStart),
    QV_COMMAND(ecSelLineEnd),
    QV_COMMAND(ecSelPageUp),
    QV_COMMAND(ecSelPageDown),
    QV_COMMAND(ecSelPageLeft),
    QV_COMMAND(ecSelPageRight),
    QV_COMMAND(ecSelPageTop),
    QV_COMMAND(ecSelPageBottom),
    QV_COMMAND(ecSelEditorTop),
    QV_COMMAND(ecSelEditorBottom),
    QV_COMMAND(ecSelGotoXY),
    QV_COMMAND(ecSelectAll),
    QV_COMMAND(ecDeleteLastChar),
    QV_COMMAND(ecDeleteChar),
    QV_COMMAND(ecDeleteWord),
    QV_COMMAND(ecDeleteLastWord),
    QV_COMMAND(ecDeleteBOL),
    QV_COMMAND(ecDeleteEOL),
    QV_COMMAND(ecDeleteLine),
    QV_COMMAND(ecClearAll),
    QV_COMMAND(ecLineBreak),
    QV_COMMAND(ecInsertLine),
    QV_COMMAND(ecChar),
    QV_COMMAND(ecImeStr),
    QV_COMMAND(ecUndo),
    QV_COMMAND(ecRedo),
    QV_COMMAND(ecCut),
    QV_COMMAND(ecCopy),
    QV_COMMAND(ecPaste),
    QV_COMMAND(ecScrollUp),
    QV_COMMAND(ecScrollDown),
    QV_COMMAND(ecScrollLeft),
    QV_COMMAND(ecScrollRight),
    QV_COMMAND(ecInsertMode),
    QV_COMMAND(ecOverwriteMode),
    QV_COMMAND(ecToggleMode),
    QV_COMMAND(ecBlockIndent),
    QV_COMMAND(ecBlockUnindent),
    QV_COMMAND(ecNormalSelect),
    QV_COMMAND(ecColumnSelect),
    QV_COMMAND(ecLineSelect),
    QV_COMMAND(ecTab),
    QV_COMMAND(ecShiftTab),
    QV_COMMAND(ecMatchBracket),
    QV_COMMAND(ecGotoMarker0),
    QV_COMMAND(ecGotoMarker1),
    QV_COMMAND(ecGotoMarker2),
    QV_COMMAND(ecGotoMarker3),
    QV_COMMAND(ecGotoMarker4),
    QV_COMMAND(ecGotoMarker5),
    QV_COMMAND(ecGotoMarker6),
    QV_COMMAND(ecGotoMarker7),
    QV_COMMAND(ecGotoMarker8),
    QV_COMMAND(ecGotoMarker9),
    QV_COMMAND(ecSetMarker0),
    QV_COMMAND(ecSetMarker1),
    QV_COMMAND(ecSetMarker2),
    QV_COMMAND(ecSetMarker3),
    QV_COMMAND(ecSetMarker4),
    QV_COMMAND(ecSetMarker5),
    QV_COMMAND(ecSetMarker6),
    QV_COMMAND(ecSetMarker7),
    QV_COMMAND(ecSetMarker8),
    QV_COMMAND(ecSetMarker9),
    QV_COMMAND(ecUserFirst),
};

#undef QV_COMMAND

} // namespace

std::span<const TCommandName> EditorCommandNames() {
    return kCommandNames;
}

std::optional<TqvEditorCommand> CommandFromName(std::string_view name) {
    for (const auto& entry : kCommandNames)
        if (SameText(entry.Name, name)) return entry.Command;
    return std::nullopt;
}

std::optional<std::string_view> CommandToName(TqvEditorCommand command) {
    for (const auto& entry : kCommandNames)
        if (entry.Command == command) return entry.Name;
    return std::nullopt;
}

std::string CommandToText(TqvEditorCommand command) {
    if (auto name = CommandToName(command)) return std::string(*name);
    return std::to_string(command);
}

} // namespace ondrex
