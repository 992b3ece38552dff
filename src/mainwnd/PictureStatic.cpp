#include "mainwnd/PictureStatic.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/ControlMessages.h"

namespace orvane {

CPictureStatic::CPictureStatic(QWidget* parent, int controlId) : QLabel(parent), m_id(controlId) {
    SetControlId(this, controlId);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void CPictureStatic::SetPicture(const QPixmap& picture) {
    setPixmap(picture);
}

void CPictureStatic::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_pressed = true;
    QLabel::mousePressEvent(event);
}

void CPictureStatic::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click && isEnabled()) emit clicked();
}

void CPictureStatic::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace orvane
