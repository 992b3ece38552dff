#pragma once
// The window a dialog the program opens belongs to. A dialog is transient for
// it, so the desktop keeps it over that window (a tiling compositor floats it
// there instead of tiling it beside or under the window).
class QWidget;

namespace orvane {

// The dialog open at the time, else the active window, else the program's
// shown main window; none while no window of the program is shown.
QWidget* DialogOwner();

} // namespace orvane
