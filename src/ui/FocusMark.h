#pragma once
// The keyboard focus mark of the skinned controls: a ring drawn over the
// control's own picture, bright outside and dark inside, so that it shows on
// the dark skin and on light faces alike.
#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

namespace orvane {

inline const QColor kFocusMarkOuter(0xFF, 0xC8, 0x00);
inline const QColor kFocusMarkInner(0x00, 0x00, 0x00);

// The control has the focus and reached it by the keyboard (Tab, Shift+Tab,
// arrow keys of a group), as desktops show a focus ring only then.
bool WantsFocusMark(const QWidget* control);
void DrawFocusMark(QPainter& painter, const QRect& rect);

} // namespace orvane
