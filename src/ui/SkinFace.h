#pragma once
// One whole-window face picture, prepared once and afterwards only copied
// from. Buttons refer to faces and never own them.
#include <QPixmap>

namespace orvane {

class CSkinFace {
  public:
    CSkinFace() = default;
    explicit CSkinFace(QPixmap pixmap) : m_pixmap(std::move(pixmap)) {}
    const QPixmap& Pixmap() const { return m_pixmap; }
    void SetPixmap(QPixmap pixmap) { m_pixmap = std::move(pixmap); }
    // An unreadable picture leaves the face empty: nothing is drawn from it.
    bool IsEmpty() const { return m_pixmap.isNull(); }

  private:
    QPixmap m_pixmap;
};

} // namespace orvane
