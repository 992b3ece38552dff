#include "ui/TabChainByPlace.h"

#include <algorithm>
#include <QWidget>
#include <vector>

namespace orvane {

void ChainTabsByPlace(QWidget& window) {
    QList<QWidget*> controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    controls.removeIf([](const QWidget* w) { return w->isWindow() || w->focusPolicy() == Qt::NoFocus; });
    std::stable_sort(controls.begin(), controls.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });

    std::vector<QWidget*> ordered;
    ordered.reserve(controls.size());
    for (auto rowStart = controls.begin(); rowStart != controls.end();) {
        const QRect band = (*rowStart)->geometry();
        auto rowEnd = std::stable_partition(rowStart, controls.end(), [&](const QWidget* w) {
            const int middle = w->geometry().center().y();
            return band.top() <= middle && middle <= band.bottom();
        });
        // The row's first control always belongs to it, even when it is flat.
        if (rowEnd == rowStart) ++rowEnd;
        std::stable_sort(rowStart, rowEnd,
                         [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        ordered.insert(ordered.end(), rowStart, rowEnd);
        rowStart = rowEnd;
    }
    for (size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1], ordered[i]);
}

} // namespace orvane
