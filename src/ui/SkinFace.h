#pragma once
// One whole-window face picture, prepared once and afterwards only copied
// from. Buttons refer to faces and never own them.
#include <QPixmap>
#include <QRect>

class QPainter;

namespace orvane {

class CSkinFace {
  public:
    CSkinFace() = default;
    explicit CSkinFace(QPixmap pixmap) { SetPixmap(std::move(pixmap)); }
    CSkinFace(QPixmap pixmap, const QSize& extent) { SetPixmap(std::move(pixmap), extent); }
    const QPixmap& Pixmap() const { return m_pixmap; }
    // The face covers `extent` (at least the pixmap's own size); what lies
    // beyond the pixmap within it is black, so that black is never stored.
    void SetPixmap(QPixmap pixmap, QSize extent = {}) {
        m_extent = extent.expandedTo(pixmap.size());
        m_pixmap = std::move(pixmap);
    }
    QSize Extent() const { return m_extent; }
    // An unreadable picture leaves the face empty: nothing is drawn from it.
    bool IsEmpty() const { return m_pixmap.isNull(); }
    // Copies `source` (face coordinates) to `at` in `painter`: the
    // pixmap's pixels, black for the rest of the extent, nothing beyond it.
    void Draw(QPainter& painter, const QPoint& at, const QRect& source) const;

  private:
    QPixmap m_pixmap;
    QSize m_extent;
};

} // namespace orvane
