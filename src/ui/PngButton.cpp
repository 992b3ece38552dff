#include "ui/PngButton.h"

#include <cmath>
#include <numbers>
#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include "ui/ControlAccessibility.h"
#include "ui/ControlMessages.h"
#include "ui/FocusMark.h"

namespace orvane {

QColor ColourFromRef(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

uint32_t ColourToRef(const QColor& c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

CPngButton::CPngButton(QWidget* parent, int controlId) : QPushButton(parent), m_id(controlId) {
    SetControlId(this, controlId);
    EnsureControlAccessibility();
    setMouseTracking(true);
    // Reachable by Tab; Space clicks it. Enter is the dialog's business, never
    // a click of whichever image button happens to hold the focus.
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    setFlat(true);
    connect(this, &QAbstractButton::pressed, this, [this] {
        // A press may open a menu: a tooltip on top of it would take the
        // menu's next click on a compositor.
        m_tipTimer.stop();
        Refresh();
    });
    connect(this, &QAbstractButton::released, this, [this] { Refresh(); });
    m_tipTimer.setSingleShot(true);
    connect(&m_tipTimer, &QTimer::timeout, this, [this] {
        if (m_tip && m_tip->active && !m_tipText.isEmpty() && m_hover && !QApplication::activePopupWidget())
            QToolTip::showText(QCursor::pos(), m_tipText, this, rect());
    });
}

void CPngButton::SetPicturesAt(int x, int y, const CSkinFace* normal, const CSkinFace* hover,
                               const CSkinFace* pressed, const CSkinFace* disabled, const CSkinFace* checked,
                               bool redraw) {
    m_sourceX = x;
    m_sourceY = y;
    SetPictures(normal, hover, pressed, disabled, checked, redraw);
}

void CPngButton::SetPictures(const CSkinFace* normal, const CSkinFace* hover, const CSkinFace* pressed,
                             const CSkinFace* disabled, const CSkinFace* checked, bool redraw) {
    m_faces = {normal, hover, pressed, disabled, checked};
    m_hover = false;
    m_tracking = false;
    setDown(false);
    Refresh(redraw);
}

void CPngButton::SetSource(int x, int y, bool redraw) {
    m_sourceX = x;
    m_sourceY = y;
    Refresh(redraw);
}

void CPngButton::SetChecked(bool checked, bool redraw) {
    m_checked = checked;
    Refresh(redraw);
}

void CPngButton::SetMarkPictures(const CSkinFace* unmarked, const CSkinFace* marked, bool markMode, bool mark,
                                 bool redraw) {
    m_unmarked = unmarked;
    m_marked = marked;
    m_markMode = markMode;
    m_mark = mark;
    Refresh(redraw);
}

void CPngButton::SetOutline(uint32_t colour, bool on) {
    m_outlineColour = colour;
    m_outline = on;
    Refresh();
}

void CPngButton::SetTextStyle(bool on, int pointSize, const QString& face, uint32_t normal, uint32_t hover,
                              uint32_t pressed, uint32_t disabled, uint32_t checked, unsigned format) {
    m_textOn = on;
    m_fontSize = pointSize;
    m_fontFace = face;
    m_textColours = {normal, hover, pressed, disabled, checked};
    m_textFormat = format;
    Refresh();
}

void CPngButton::SetTextAngle(int tenthsOfDegree, bool angled) {
    m_textAngle = tenthsOfDegree;
    m_angled = angled;
    Refresh();
}

void CPngButton::Refresh(bool redraw) {
    if (redraw) update();
    const CSkinFace* face = m_outline ? nullptr : ChoosePicture();
    if (m_notified && face == m_notifiedFace) return;
    m_notified = true;
    m_notifiedFace = face;
    if (m_afterPaint && !m_inCallback) {
        m_inCallback = true; // a callback that changes this button again is not re-entered
        m_afterPaint(this, face && face == m_faces[FACE_NORMAL]);
        m_inCallback = false;
    }
}

void CPngButton::SetAfterPaint(AfterPaint callback) {
    m_afterPaint = std::move(callback);
    m_notified = false; // the new callback hears of the face in force
    Refresh(false);
}

void CPngButton::SetAccessibleKey(const QString& keyName, const QString& assignedTo) {
    setAccessibleName(assignedTo.isEmpty() ? keyName : keyName + QStringLiteral(": ") + assignedTo);
    setAccessibleDescription(assignedTo);
}

void CPngButton::SetTooltipText(const QString& text, bool activate) {
    if (!m_tip) m_tip = Tooltip{};
    // An empty text leaves the tooltip as it is, activation included.
    if (text.isEmpty()) return;
    m_tipText = text;
    m_tip->hasTool = true;
    m_tip->delayMs = 300;
    m_tip->active = activate;
}

const CSkinFace* CPngButton::ChoosePicture(uint32_t* textColour) const {
    auto pick = [&](SkinFaceSlot slot, const CSkinFace* face) {
        if (textColour) *textColour = m_textColours[slot];
        return face;
    };
    if (!isEnabled()) return pick(FACE_DISABLED, m_faces[FACE_DISABLED]);
    if (m_markMode) return pick(FACE_NORMAL, m_mark ? m_marked : m_unmarked);
    if (isDown()) return pick(FACE_PRESSED, m_faces[FACE_PRESSED]);
    if (m_hover) return pick(FACE_HOVER, m_faces[FACE_HOVER]);
    if (m_checked) return pick(FACE_CHECKED, m_faces[FACE_CHECKED]);
    return pick(FACE_NORMAL, m_faces[FACE_NORMAL]);
}

void CPngButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintUnder(painter);
    uint32_t colour = 0;
    const CSkinFace* picture = ChoosePicture(&colour);
    if (m_outline) {
        // A 2-pixel pen on the rectangle from (1,1) to (w-1, h-1), drawn as
        // four bars: the same pixels, without stroking a path at every frame
        // of the keyboard's animation.
        const QColor c = ColourFromRef(m_outlineColour);
        const int w = width(), h = height();
        painter.fillRect(0, 0, w, 2, c);
        painter.fillRect(0, h - 2, w, 2, c);
        painter.fillRect(0, 2, 2, h - 4, c);
        painter.fillRect(w - 2, 2, 2, h - 4, c);
    } else if (picture && !picture->IsEmpty()) {
        picture->Draw(painter, QPoint(0, 0), QRect(m_sourceX - 1, m_sourceY - 1, width(), height()));
    }
    m_current = picture;
    if (m_textOn) DrawCaption(painter, colour);
    if (WantsFocusMark(this)) DrawFocusMark(painter, rect());
}

void CPngButton::DrawCaption(QPainter& painter, uint32_t colour) {
    const QString caption = text().left(259);
    if (caption.isEmpty()) return;
    QFont font(m_fontFace);
    font.setStyleHint(QFont::SansSerif); // the Swiss family
    font.setPixelSize(std::max(1, int(std::lround(m_fontSize * logicalDpiY() / 72.0))));
    font.setWeight(m_angled ? QFont::Weight(956) : QFont::Normal);
    painter.setFont(font);
    painter.setPen(ColourFromRef(colour));

    QRect r = rect();

    int align = 0;
    align |= (m_textFormat & DT_CENTER)  ? Qt::AlignHCenter
             : (m_textFormat & DT_RIGHT) ? Qt::AlignRight
                                         : Qt::AlignLeft;
    align |= (m_textFormat & DT_VCENTER)  ? Qt::AlignVCenter
             : (m_textFormat & DT_BOTTOM) ? Qt::AlignBottom
                                          : Qt::AlignTop;
    if (!(m_textFormat & DT_SINGLELINE)) align |= Qt::TextWordWrap;

    if (m_textAngle == 0) {
        // A single line too long for the button ends in an ellipsis rather
        // than being cut at its edge.
        const QString shown = (m_textFormat & DT_SINGLELINE)
                                  ? QFontMetrics(font).elidedText(caption, Qt::ElideRight, r.width())
                                  : caption;
        painter.drawText(r, align, shown);
        return;
    }
    // Turned caption. The format places the unturned text in the rectangle;
    // the text then turns about its top-left corner, as the platform's
    // escapement does.
    const QFontMetrics fm(font);
    const int W = fm.horizontalAdvance(caption), H = fm.height();
    const double a = m_textAngle / 10.0 * std::numbers::pi / 180.0;
    if (m_angled) {
        // Shift the rectangle so that the turned caption sits in the middle.
        const int wc = int(W * std::cos(a)), ws = int(W * std::sin(a));
        const int w = r.width(), h = r.height();
        if (wc < w) r.setLeft(r.left() + (w - wc) / 2 - int(H * std::sin(a) * 0.5));
        if (ws < h) r.setBottom(r.bottom() + (-((h - ws) / 2) - int(H * std::cos(a) * -0.5)));
    }
    const QRect box =
        QStyle::alignedRect(Qt::LeftToRight, Qt::Alignment(align) & ~Qt::TextWordWrap, QSize(W, H), r);
    painter.save();
    painter.translate(box.topLeft());
    painter.rotate(-m_textAngle / 10.0);
    painter.drawText(QPoint(0, fm.ascent()), caption);
    painter.restore();
}

void CPngButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    Hovered();
}

void CPngButton::Hovered() {
    m_hover = true;
    m_tracking = true;
    Refresh();
    // The tooltip is rebuilt on every hover, and so active again.
    if (m_tip) {
        m_tip.reset();
        SetTooltipText(m_tipText, true);
        m_tipTimer.start(m_tip->delayMs);
    }
}

void CPngButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    m_tracking = false;
    m_hover = false;
    m_tipTimer.stop();
    QToolTip::hideText();
    Refresh();
}

void CPngButton::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) Refresh();
}

void CPngButton::showEvent(QShowEvent* event) {
    QPushButton::showEvent(event);
    Refresh();
}

void CPngButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking && rect().contains(event->position().toPoint())) Hovered();
    QPushButton::mouseMoveEvent(event);
}

void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click counts as a second press, so it gives a second click.
    QMouseEvent press(QEvent::MouseButtonPress, event->position(), event->globalPosition(), event->button(),
                      event->buttons(), event->modifiers());
    mousePressEvent(&press);
}

void RedrawAfter(QWidget* drawn, const std::vector<QWidget*>& then) {
    QWidget* below = drawn;
    for (QWidget* w : then) {
        if (!w || !below || w == below || w->parentWidget() != below->parentWidget()) continue;
        // The sibling now just above `below`, if any: `w` goes under it.
        QWidget* next = nullptr;
        bool seen = false;
        for (QObject* o : below->parentWidget()->children()) {
            if (o == below) {
                seen = true;
                continue;
            }
            if (seen && o != w && o->isWidgetType() && !static_cast<QWidget*>(o)->isWindow()) {
                next = static_cast<QWidget*>(o);
                break;
            }
        }
        if (next)
            w->stackUnder(next);
        else
            w->raise();
        below = w;
    }
}

void CPngButton::SkinSetGeometry(const SkinRect& rect, bool repaint) {
    setGeometry(rect.x, rect.y, rect.w, rect.h);
    if (repaint) update();
}

void CPngButton::SkinMove(int x, int y, bool repaint) {
    move(x, y);
    if (repaint) update();
}

void CPngButton::SkinSetFaces(int x, int y, const SkinFaceSet& f) {
    SetPicturesAt(x, y, f[FACE_NORMAL], f[FACE_HOVER], f[FACE_PRESSED], f[FACE_DISABLED], f[FACE_CHECKED],
                  false);
}

} // namespace orvane
