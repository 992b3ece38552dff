#include "ui/FocusMark.h"

#include <QPainter>
#include <QWidget>

namespace orvane {

bool WantsFocusMark(const QWidget* control) {
    return control && control->hasFocus() && control->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void DrawFocusMark(QPainter& painter, const QRect& rect) {
    if (rect.width() < 3 || rect.height() < 3) return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kFocusMarkOuter, 1));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(kFocusMarkInner, 1));
    painter.drawRect(rect.adjusted(1, 1, -2, -2));
    painter.restore();
}

} // namespace orvane
