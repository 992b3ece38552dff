#include "mainwnd/FlipRow.h"

#include <QPainter>
#include <QPixmap>

#include "ui/PngButton.h"

namespace orvane {
namespace {

constexpr int kGap = 4;

struct FaceLook {
    QColor fill;
    QColor edge;
};

// Normal, hover, pressed, disabled, checked: the key caps' dark body with the
// window's orange for the pointer's and the pressed state.
const FaceLook kLooks[] = {
    {QColor(0x2a, 0x2e, 0x35), QColor(0x4a, 0x4f, 0x58)},
    {QColor(0x33, 0x37, 0x3f), QColor(0xff, 0x82, 0x00)},
    {QColor(0x3a, 0x2a, 0x18), QColor(0xff, 0x9b, 0x04)},
    {QColor(0x1c, 0x1f, 0x24), QColor(0x2a, 0x2e, 0x35)},
    {QColor(0x3a, 0x2a, 0x18), QColor(0xff, 0x82, 0x00)},
};

QPixmap DrawFace(QSize size, const FaceLook& look) {
    QPixmap pixmap(size.expandedTo(QSize(1, 1)));
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look.edge, 1.5));
    p.setBrush(look.fill);
    p.drawRoundedRect(QRectF(pixmap.rect()).adjusted(1, 1, -1, -1), 4, 4);
    return pixmap;
}

} // namespace

CFlipRowFaces::CFlipRowFaces(QSize slot) {
    for (size_t i = 0; i < m_faces.size(); ++i)
        m_faces[i].SetPixmap(DrawFace(slot, kLooks[i]));
}

QRect FlipRowSlot(const QRect& area, int count, int index) {
    if (count <= 0 || index < 0 || index >= count || area.isEmpty()) return {};
    const int width = (area.width() - kGap * (count - 1)) / count;
    if (width <= 0) return {};
    return QRect(area.left() + index * (width + kGap), area.top(), width, area.height());
}

void PlaceFlipRow(std::span<CPngButton* const> row, const QRect& area, const CFlipRowFaces& faces) {
    const int count = static_cast<int>(row.size());
    for (int i = 0; i < count; ++i) {
        CPngButton* b = row[static_cast<size_t>(i)];
        const QRect slot = FlipRowSlot(area, count, i);
        if (!b || slot.isEmpty()) continue;
        b->setGeometry(slot);
        // The faces are the button's own size: drawn from their top left.
        b->SetPicturesAt(1, 1, faces.Face(0), faces.Face(1), faces.Face(2), faces.Face(3), faces.Face(4),
                         true);
    }
}

} // namespace orvane
