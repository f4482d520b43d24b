#pragma once
// The editor memo1 as assistive technology sees it: editable text with its caret and
// selection, read from the editor's lines when asked.

class QWidget;

namespace ondrex {
class TqvCustomEdit;
}

namespace ondrex::window {

// Makes `widget` (the editor's host window) answer accessibility queries for `memo` for as
// long as the widget lives.
void MakeEditorAccessible(QWidget* widget, TqvCustomEdit& memo);

} // namespace ondrex::window
