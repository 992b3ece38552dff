#include "ui/FadingNote.h"

#include <QAccessible>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

namespace orvane {
namespace {
constexpr int kBottomGap = 28;
constexpr int kMargin = 10;
} // namespace

CFadingNote::CFadingNote(QWidget* parent)
    : QLabel(parent), m_opacity(new QGraphicsOpacityEffect(this)),
      m_fade(new QPropertyAnimation(m_opacity, "opacity", this)) {
    setObjectName(QStringLiteral("confirmation"));
    // Never in the way of the controls beneath it, never in the Tab order.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setMargin(kMargin);
    setAlignment(Qt::AlignCenter);
    setGraphicsEffect(m_opacity);
    m_fade->setDuration(kFadeMs);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    m_hold.setSingleShot(true);
    connect(&m_hold, &QTimer::timeout, m_fade, [this] { m_fade->start(); });
    connect(m_fade, &QPropertyAnimation::finished, this, [this] {
        hide();
        emit Faded();
    });
    hide();
}

void CFadingNote::Show(const QString& text) {
    m_fade->stop();
    m_opacity->setOpacity(1.0);
    setText(text);
    setAccessibleName(text);
    adjustSize();
    Place();
    show();
    raise();
    // A screen reader speaks it as it appears, as it would a message box.
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
    m_hold.start(kHoldMs);
}

bool CFadingNote::Fading() const {
    return m_fade->state() == QAbstractAnimation::Running;
}

void CFadingNote::Place() {
    if (!parentWidget()) return;
    const QRect area = parentWidget()->rect();
    move(area.center().x() - width() / 2, area.bottom() - kBottomGap - height());
}

} // namespace orvane
