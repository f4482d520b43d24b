#include "WindowTestSupport.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <vector>

namespace ondrex::window {
namespace {

struct Node {
    QAccessible::Role role;
    QString name;
    QAccessible::State state;
    QAccessibleInterface* iface;
};

void Walk(QAccessibleInterface* iface, std::vector<Node>& out, int depth = 0) {
    if (!iface || depth > 40) return;
    out.push_back({iface->role(), iface->text(QAccessible::Name), iface->state(), iface});
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), out, depth + 1);
}

const Node* Find(const std::vector<Node>& nodes, QAccessible::Role role, const QString& name) {
    for (const Node& n : nodes)
        if (n.role == role && n.name == name) return &n;
    return nullptr;
}

TEST_F(WindowTest, TheAccessibilityTreeNamesEveryControl) {
    Start(file);
    w->ListView2().Select(0);
    std::vector<Node> nodes;
    Walk(QAccessible::queryAccessibleInterface(w.get()), nodes);

    for (const char* hint :
         {"Select a file to parse", "Parse Selected files", "Find function / Sub",
          "Toggle read/write and readonly flag of document", "Quit program",
          "Copy current codeblock to clipboard", "Print current codeblock", "Print whole document"})
        EXPECT_TRUE(Find(nodes, QAccessible::Button, hint)) << hint;

    const Node* calls = Find(nodes, QAccessible::CheckBox, "Include function calls");
    ASSERT_TRUE(calls);
    EXPECT_TRUE(calls->state.checked);
    const Node* dims = Find(nodes, QAccessible::CheckBox, "Include Dim statements");
    ASSERT_TRUE(dims);
    EXPECT_FALSE(dims->state.checked);

    const Node* results = Find(nodes, QAccessible::Table, "Results");
    ASSERT_TRUE(results);
    ASSERT_TRUE(results->iface->tableInterface());
    EXPECT_EQ(results->iface->tableInterface()->rowCount(), 10);
    const Node* info = Find(nodes, QAccessible::Table, "Information");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->iface->tableInterface()->rowCount(), 8);

    const Node* editor = Find(nodes, QAccessible::EditableText, "Script");
    ASSERT_TRUE(editor);
    QAccessibleTextInterface* text = editor->iface->textInterface();
    ASSERT_TRUE(text);
    EXPECT_TRUE(editor->state.readOnly);
    // The caret stands at the start of line 9, the located header.
    const int caret = text->cursorPosition();
    EXPECT_EQ(text->text(caret, caret + 21), "Function PriceWithTax");
    EXPECT_EQ(text->text(0, 8), "<%@ Lang");
}

} // namespace
} // namespace ondrex::window
