#pragma once
// Our own controls as assistive technology sees them: the editor memo1 as editable text with
// its caret and selection, a flat check box as a check box with its caption and state. Each
// is read from the control when asked.

class QWidget;

namespace ondrex {
class TFlatCheckBox;
class TqvCustomEdit;
} // namespace ondrex

namespace ondrex::window {

// Makes `widget` (the control's host window) answer accessibility queries for the control
// for as long as the widget lives. Call before anything asks for the widget's interface
// (setting its accessible name does), which Qt keeps once made.
void MakeEditorAccessible(QWidget* widget, TqvCustomEdit& memo);
void MakeCheckBoxAccessible(QWidget* widget, TFlatCheckBox& box);

} // namespace ondrex::window
