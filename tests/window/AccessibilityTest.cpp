#include "WindowTestSupport.h"

#include "app/window/ControlAccessible.h"

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

namespace ondrex::window {
namespace {

QAccessibleInterface* Named(Tfrm_Ondrex& w, QAccessible::Role role, const QString& name) {
    std::vector<Node> nodes;
    Walk(QAccessible::queryAccessibleInterface(&w), nodes);
    const Node* node = Find(nodes, role, name);
    return node ? node->iface : nullptr;
}

std::vector<std::pair<QAccessible::Event, int>> announced;
void Record(QAccessibleEvent* e) {
    announced.push_back({e->type(), e->child()});
}

TEST_F(WindowTest, EveryListCellIsReadableAndASelectionIsAnnounced) {
    Start(file);
    QAccessibleInterface* results = Named(*w, QAccessible::Table, "Results");
    ASSERT_TRUE(results);
    QAccessibleInterface* name = results->tableInterface()->cellAt(0, 1);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->role(), QAccessible::Cell);
    EXPECT_EQ(name->text(QAccessible::Name), " PriceWithTax(price)");
    EXPECT_EQ(name->tableCellInterface()->rowIndex(), 0);
    EXPECT_EQ(name->tableCellInterface()->columnIndex(), 1);
    EXPECT_EQ(results->child(1), name);
    EXPECT_EQ(results->indexOfChild(name), 1);
    EXPECT_FALSE(name->state().selected);
    EXPECT_EQ(results->childAt(name->rect().center().x(), name->rect().center().y()), name);
    EXPECT_EQ(results->tableInterface()->cellAt(10, 0), nullptr); // ten rows: 0..9

    announced.clear();
    const TAccessibleAnnouncer previous = SetAccessibleAnnouncer(Record);
    w->ListView2().Select(3);
    SetAccessibleAnnouncer(previous);
    EXPECT_NE(
        std::find(announced.begin(), announced.end(), std::pair{QAccessible::SelectionAdd, 3 * 2}),
        announced.end());
    EXPECT_NE(std::find(announced.begin(), announced.end(), std::pair{QAccessible::Focus, 3 * 2}),
              announced.end());
    EXPECT_TRUE(results->tableInterface()->cellAt(3, 1)->tableCellInterface()->isSelected());
    EXPECT_EQ(results->tableInterface()->selectedCells().size(), 2);

    QAccessibleInterface* info = Named(*w, QAccessible::Table, "Information");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->tableInterface()->cellAt(0, 1)->text(QAccessible::Name), "2");
}

// Characters are found where they are drawn: a tab over its cells, a wide character over two.
TEST_F(WindowTest, TheEditorTellsWhereEachCharacterIsDrawnAndWhatIsUnderAPoint) {
    const std::string path = TempPath("cells.js");
    std::ofstream(path, std::ios::binary) << "a\tb\n\xe4\xb8\xad"
                                             "x\n";
    Start(path);
    QAccessibleTextInterface* text =
        Named(*w, QAccessible::EditableText, "Script")->textInterface();
    ASSERT_TRUE(text);
    const TqvCustomEdit& memo = w->memo1();
    const int cell = memo.CharWidth();
    const QRect a = text->characterRect(0), tab = text->characterRect(1),
                b = text->characterRect(2);
    EXPECT_EQ(a.width(), cell);
    EXPECT_EQ(a.height(), memo.LineHeight());
    EXPECT_GT(tab.width(), cell);
    EXPECT_EQ(tab.left(), a.right() + 1);
    EXPECT_EQ(b.left(), tab.right() + 1);
    const QRect wide = text->characterRect(4), x = text->characterRect(5);
    EXPECT_EQ(wide.width(), 2 * cell);
    EXPECT_EQ(wide.top(), a.top() + memo.LineHeight());
    EXPECT_EQ(x.left(), wide.right() + 1);
    EXPECT_EQ(text->characterRect(99), QRect());

    EXPECT_EQ(text->offsetAtPoint(tab.center()), 1);
    EXPECT_EQ(text->offsetAtPoint(QPoint(wide.right() - 1, wide.center().y())), 4);
    EXPECT_EQ(text->offsetAtPoint(QPoint(wide.left(), wide.center().y())), 4);
    EXPECT_EQ(text->offsetAtPoint(QPoint(x.right() + 3 * cell, x.center().y())), -1);
    EXPECT_EQ(text->offsetAtPoint(QPoint(a.left() - memo.TextOffset() + 1, a.center().y())),
              -1); // the gutter
    std::remove(path.c_str());
}

// A press of a button whose click opens a modal dialog answers at once; the dialog follows.
TEST_F(WindowTest, PressingAButtonAnswersBeforeTheDialogItOpens) {
    Start(file);
    w->ListView2().Select(0);
    QAccessibleInterface* copy =
        Named(*w, QAccessible::Button, "Copy current codeblock to clipboard");
    ASSERT_TRUE(copy && copy->actionInterface());
    bool returned = false, openedInside = false, openedAfter = false;
    WhenModal([&](QWidget*) { openedInside = !returned; });
    copy->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    returned = true;
    WhenModal([&](QWidget*) { openedAfter = true; });
    EXPECT_TRUE(WaitUntil([&] { return openedAfter || openedInside; }, 3000));
    EXPECT_FALSE(openedInside);
    EXPECT_TRUE(openedAfter);
}

} // namespace
} // namespace ondrex::window
