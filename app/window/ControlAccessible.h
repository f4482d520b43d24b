#pragma once
// Our own controls as assistive technology sees them: the editor memo1 as editable text with
// its caret, selection and character extents, a flat check box as a check box with its
// caption and state, a list view as a table of its cells, a button whose press never waits
// for what the click opens. Each is read from the control when asked.

class QAbstractButton;
class QAccessibleEvent;
class QWidget;

namespace ondrex {
class TCustomListView;
class TFlatCheckBox;
class TqvCustomEdit;
} // namespace ondrex

namespace ondrex::window {

// Makes `widget` (the control's host window) answer accessibility queries for the control
// for as long as the widget lives. Call before anything asks for the widget's interface
// (setting its accessible name does), which Qt keeps once made.
void MakeEditorAccessible(QWidget* widget, TqvCustomEdit& memo);
void MakeCheckBoxAccessible(QWidget* widget, TFlatCheckBox& box);
// Also makes the list announce its selection changes (it takes the list's SelectionObserver).
void MakeListAccessible(QWidget* widget, TCustomListView& list);
void MakeButtonAccessible(QAbstractButton* button);

// Where the controls' announcements (a list's selection changes) go: Qt's bridge to
// assistive technology when null, the default; a test records them. Returns the one before.
using TAccessibleAnnouncer = void (*)(QAccessibleEvent* event);
TAccessibleAnnouncer SetAccessibleAnnouncer(TAccessibleAnnouncer announcer);

} // namespace ondrex::window
