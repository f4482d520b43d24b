// The core reaches the Qt dialogs and hint windows through factories, installed here before
// main. The archive is linked whole (platform/qt/CMakeLists.txt), so no binary that links
// the Qt platform can miss this file.

#include "platform/HintWindow.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtDialogs.h"

namespace ondrex {
namespace {

const bool installed = [] {
    SetToolkitDialogs([]() -> std::unique_ptr<TDialogs> { return std::make_unique<TQtDialogs>(); });
    SetHintHostFactory([](TCustomControl& hint) -> std::unique_ptr<TControlHost> {
        return std::make_unique<TQtControlHost>(hint, nullptr, true);
    });
    return true;
}();

} // namespace
} // namespace ondrex
