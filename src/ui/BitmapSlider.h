#pragma once
// A slider drawn as one picture per position; the owner supplies the picture
// whenever the position changes and hears of every change by UM_SLIDER, its
// only notification (see ControlMessages.h for who receives it).
#include <QPixmap>
#include <QWidget>

namespace orvane {

class CBitmapSlider : public QWidget {
    Q_OBJECT
  public:
    explicit CBitmapSlider(QWidget* parent = nullptr, int controlId = 0);

    // Takes the picture's size for itself; the drawing rectangle becomes the client area.
    void SetBitmap(const QPixmap& picture);
    // Shows a picture; the owner calls it for each new position.
    virtual void SetImage(const QPixmap& picture);
    void SetRange(int minimum, int maximum);
    void SetPageSize(int pageSize) { m_pageSize = pageSize; }
    void SetPos(int position);
    void SetVertical(bool vertical) { m_vertical = vertical; }

    int Pos() const { return m_pos; }
    int RangeMin() const { return m_min; }
    int RangeMax() const { return m_max; }
    int PageSize() const { return m_pageSize; }
    int ControlId() const { return m_id; }
    bool IsDragging() const { return m_dragging; }
    bool HoverOrFocus() const { return m_hoverOrFocus; }
    const QPixmap& Image() const { return m_image; }

    int PosToPixel(int position) const;
    int PixelToPos(int x) const;

    // Sets the position as the user would: clamped, then UM_SLIDER posted.
    void MoveBy(int position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void Notify();
    void TrackPointer(int x);

    int m_id;
    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_pageSize = 10;
    int m_pictureW = 0;
    int m_pictureH = 0;
    QRect m_drawRect;
    QPixmap m_image;
    bool m_vertical = false;
    bool m_dragging = false;
    bool m_hoverOrFocus = false;
    int m_wheelRest = 0; // wheel units not yet turned into a step
};

} // namespace orvane
