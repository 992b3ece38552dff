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

// The press is taken here: passed on, it would start dragging the window and
// the release would never arrive.
void CPictureStatic::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
    m_pressed = true;
    event->accept();
}

void CPictureStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(event);
    const bool click = m_pressed && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
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
