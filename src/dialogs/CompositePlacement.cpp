#include "dialogs/CompositePlacement.h"

namespace orvane {

QPoint CompositePosition(const QRect& button, const QSize& size, const QRect& available) {
    // Edges as the window system gives them: right and bottom are exclusive.
    const int left = button.x();
    const int top = button.y();
    const int right = button.x() + button.width();
    const int bottom = button.y() + button.height();
    const int screenRight = available.x() + available.width();
    const int screenBottom = available.y() + available.height();
    const bool rightFits = screenRight - right >= size.width();
    const bool leftFits = left - available.x() >= size.width();
    const bool belowFits = screenBottom - bottom >= size.height();
    const bool aboveFits = top - available.y() >= size.height();

    const QPoint rightBelow(right, bottom);
    if (rightFits && belowFits) return rightBelow;
    if (rightFits && aboveFits) return {right, top - size.height()};
    if (leftFits && belowFits) return {left - size.width(), bottom};
    if (leftFits && aboveFits) return {left - size.width(), top - size.height()};
    return rightBelow;
}

QPoint CentredPosition(const QSize& size, const QRect& available) {
    return {available.x() + (available.width() - size.width()) / 2,
            available.y() + (available.height() - size.height()) / 2};
}

} // namespace orvane
