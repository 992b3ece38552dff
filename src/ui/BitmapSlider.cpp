#include "ui/BitmapSlider.h"

#include <algorithm>
#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "services/WindowMessages.h"
#include "ui/ControlAccessibility.h"
#include "ui/ControlMessages.h"
#include "ui/FocusMark.h"

namespace orvane {

CBitmapSlider::CBitmapSlider(QWidget* parent, int controlId) : QWidget(parent), m_id(controlId) {
    SetControlId(this, controlId);
    EnsureControlAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void CBitmapSlider::SetBitmap(const QPixmap& picture) {
    m_pictureW = picture.width();
    m_pictureH = picture.height();
    resize(picture.size());
    m_drawRect = rect();
    m_image = picture;
    update();
}

void CBitmapSlider::SetImage(const QPixmap& picture) {
    m_image = picture;
    update();
}

void CBitmapSlider::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
}

void CBitmapSlider::SetPos(int position) {
    const int pos = std::clamp(position, std::min(m_min, m_max), std::max(m_min, m_max));
    if (pos == m_pos) return;
    m_pos = pos;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, m_pos);
        QAccessible::updateAccessibility(&changed);
    }
}

void CBitmapSlider::MoveBy(int position) {
    SetPos(position);
    Notify();
}

int CBitmapSlider::PosToPixel(int position) const {
    if (m_max == m_min) return 0;
    const int size = m_vertical ? m_pictureH : m_pictureW;
    return int(double(position - m_min) / double(m_max - m_min) * size);
}

int CBitmapSlider::PixelToPos(int x) const {
    // The +10 lets a click a little left of a step's mark take that step.
    if (m_vertical) return m_pictureH > 0 ? m_min + int(double(x) / m_pictureH * (m_max - m_min)) : m_min;
    return m_pictureW > 0 ? m_min + int(double(x + 10) / m_pictureW * (m_max - m_min)) : m_min;
}

void CBitmapSlider::Notify() {
    PostToParent(this, UM_SLIDER, uintptr_t(m_id), intptr_t(m_pos));
}

void CBitmapSlider::TrackPointer(int x) {
    if (x != PosToPixel(m_pos)) MoveBy(PixelToPos(x));
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (!isEnabled() || event->button() != Qt::LeftButton) return;
    grabMouse();
    setFocus(Qt::MouseFocusReason);
    m_hoverOrFocus = true;
    m_dragging = true;
    TrackPointer(int(event->position().x()));
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && isEnabled()) TrackPointer(int(event->position().x()));
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!isEnabled() || event->button() != Qt::LeftButton) return;
    if (QWidget::mouseGrabber() == this) releaseMouse();
    m_dragging = false;
    Notify(); // always, so the owner sees the final position even without a change
}

void CBitmapSlider::leaveEvent(QEvent*) {
    m_hoverOrFocus = false;
    update();
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    if (!isEnabled()) {
        QWidget::keyPressEvent(event);
        return;
    }
    int pos = m_pos;
    switch (event->key()) {
    case Qt::Key_PageUp:
        pos = m_pos - m_pageSize;
        break;
    case Qt::Key_PageDown:
        pos = m_pos + m_pageSize;
        break;
    case Qt::Key_End:
        pos = m_max;
        break;
    case Qt::Key_Home:
        pos = m_min;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        pos = m_pos + 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        pos = m_pos - 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    MoveBy(pos);
    event->accept();
}

void CBitmapSlider::changeEvent(QEvent* event) {
    // Disabled in the middle of a drag: let the mouse go, or the whole
    // desktop stays grabbed by a control that no longer answers.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        if (QWidget::mouseGrabber() == this) releaseMouse();
        m_dragging = false;
        m_wheelRest = 0;
    }
    QWidget::changeEvent(event);
}

bool CBitmapSlider::event(QEvent* e) {
    // Every key is ours while focused, except Tab, which moves the focus on.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            e->accept();
            return true;
        }
    }
    return QWidget::event(e);
}

void CBitmapSlider::wheelEvent(QWheelEvent* event) {
    if (!m_hoverOrFocus) {
        event->ignore();
        return;
    }
    // High-resolution wheels and touchpads send many small deltas: one step
    // per notch of 120 units, as a plain wheel gives.
    const int delta = event->angleDelta().y();
    event->accept();
    if (delta == 0) return;
    if ((delta > 0) != (m_wheelRest > 0)) m_wheelRest = 0; // turned the other way: start a new notch
    m_wheelRest += delta;
    const int notches = m_wheelRest / 120;
    if (notches == 0) return;
    m_wheelRest -= notches * 120;
    // Away from the user lowers the position, towards the user raises it.
    MoveBy(m_pos - notches);
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_image.isNull()) painter.drawPixmap(m_drawRect.topLeft(), m_image);
    // Over the picture, which covers the whole drawing rectangle.
    if (m_hoverOrFocus || WantsFocusMark(this)) DrawFocusMark(painter, m_drawRect);
}

} // namespace orvane
