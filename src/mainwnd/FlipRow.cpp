#include "mainwnd/FlipRow.h"

#include <QPainter>
#include <QPixmap>

#include "ui/PngButton.h"

namespace orvane {
namespace {

// Each button covers its whole slot (the picture underneath shows F1-F4):
// the plate's colour, then the key inset by this much.
constexpr int kInset = 2;
const QColor kPlate(0x15, 0x16, 0x18);

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
    pixmap.fill(kPlate);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(look.edge, 1.5));
    p.setBrush(look.fill);
    p.drawRoundedRect(QRectF(pixmap.rect()).adjusted(kInset, kInset, -kInset, -kInset), 4, 4);
    return pixmap;
}

} // namespace

CFlipRowFaces::CFlipRowFaces(const QRect& area, int count) {
    for (int i = 0; i < count; ++i) {
        const QSize size = FlipRowSlot(area, count, i).size();
        std::array<CSkinFace, 5>& faces = m_slots.emplace_back();
        for (size_t f = 0; f < faces.size(); ++f)
            faces[f].SetPixmap(DrawFace(size, kLooks[f]));
    }
}

const CSkinFace* CFlipRowFaces::Face(int index, int face) const {
    if (index < 0 || static_cast<size_t>(index) >= m_slots.size() || face < 0 || face >= 5) return nullptr;
    return &m_slots[static_cast<size_t>(index)][static_cast<size_t>(face)];
}

QRect FlipRowSlot(const QRect& area, int count, int index) {
    if (count <= 0 || index < 0 || index >= count || area.isEmpty()) return {};
    // The last slot takes what the division leaves, so the row covers the area.
    const int width = area.width() / count;
    if (width <= 0) return {};
    const int left = area.left() + index * width;
    return QRect(left, area.top(), index == count - 1 ? area.right() + 1 - left : width, area.height());
}

void PlaceFlipRow(std::span<CPngButton* const> row, const QRect& area, const CFlipRowFaces& faces) {
    const int count = static_cast<int>(row.size());
    for (int i = 0; i < count; ++i) {
        CPngButton* b = row[static_cast<size_t>(i)];
        const QRect slot = FlipRowSlot(area, count, i);
        if (!b || slot.isEmpty()) continue;
        b->setGeometry(slot);
        // The faces are the button's own size: drawn from their top left.
        b->SetPicturesAt(1, 1, faces.Face(i, 0), faces.Face(i, 1), faces.Face(i, 2), faces.Face(i, 3),
                         faces.Face(i, 4), true);
    }
}

} // namespace orvane
