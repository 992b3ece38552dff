#include "ui/HyperLink.h"

#include <cstdio>
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "services/Language.h"
#include "services/Prompt.h"
#include "ui/ControlAccessibility.h"
#include "ui/ControlMessages.h"
#include "ui/FocusMark.h"
#include "ui/PngButton.h"

namespace orvane {

std::string HyperLinkErrorText(int code) {
    switch (code) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case 2:
        return "The specified file was not found.";
    case 3:
        return "The specified path was not found.";
    case 5:
        return "The operating system denied\naccess to the specified file.";
    case 8:
        return "There was not enough memory to complete the operation.";
    case 11:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case 26:
        return "A sharing violation occurred. ";
    case 27:
        return "The filename association is\nincomplete or invalid.";
    case 28:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case 29:
        return "The DDE transaction failed.";
    case 30:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
               "processed.";
    case 31:
        return "There is no application associated\nwith the given filename extension.";
    case 32:
        return "The specified dynamic-link library was not found.";
    default: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "Unknown Error (%d) occurred.", code);
        return buf;
    }
    }
}

CHyperLink::CHyperLink(QWidget* parent, int controlId) : QLabel(parent) {
    SetControlId(this, controlId);
    EnsureControlAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button); // erased with the button-face colour
    // The text role follows the background role unless set: it would be the
    // button-text colour, and the link colours would never show.
    setForegroundRole(QPalette::WindowText);
    m_opener = &CHyperLink::OpenWithShell;
    ApplyColour();
}

int CHyperLink::OpenWithShell(const QString& url) {
    if (QDesktopServices::openUrl(QUrl::fromUserInput(url))) return kLinkOpened;
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) return kNoLinkOpener;
    return QProcess::startDetached(xdgOpen, {url}) ? kLinkOpened : 2;
}

void CHyperLink::Attach() {
    if (m_url.isEmpty()) m_url = text();
    if (text().isEmpty()) setText(m_url);
    if (!m_fontsMade) {
        m_plainFont = font();
        m_underlinedFont = font();
        m_underlinedFont.setUnderline(true);
        m_fontsMade = true;
    }
    setFont(m_plainFont); // underlined only while the pointer is over it
    Fit();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_url);
    ApplyColour();
}

void CHyperLink::SetURL(const QString& url) {
    m_url = url;
    if (m_fontsMade) {
        Fit();
        setToolTip(m_url);
    }
}

void CHyperLink::SetVisited(bool visited) {
    m_visited = visited;
    ApplyColour();
}

uint32_t CHyperLink::CurrentColour() const {
    if (m_over) return kHoverColour;
    return m_visited ? kVisitedColour : kLinkColour;
}

void CHyperLink::ApplyColour() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ColourFromRef(CurrentColour()));
    setPalette(p);
    update();
}

void CHyperLink::Fit() {
    if (!m_autoSize || !m_fontsMade) return;
    const QSize extent = QFontMetrics(m_underlinedFont).size(Qt::TextSingleLine, text());
    const QMargins borders = contentsMargins();
    const QSize wanted(extent.width() + borders.left() + borders.right(),
                       extent.height() + borders.top() + borders.bottom());
    QRect g = geometry();
    const Qt::Alignment a = alignment();
    int left = g.left();
    if (a & Qt::AlignHCenter)
        left = g.left() + (g.width() - wanted.width()) / 2;
    else if (a & Qt::AlignRight)
        left = g.right() + 1 - wanted.width();
    int top = g.top();
    if (m_centreImage) top = g.top() + (g.height() - wanted.height()) / 2;
    setGeometry(left, top, wanted.width(), wanted.height());
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event) {
    if (!m_over) {
        m_over = true;
        if (m_fontsMade) setFont(m_underlinedFont);
        ApplyColour();
    }
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event) {
    // The leave event, not pointer polling: a Wayland client cannot ask
    // where the pointer is once it has left.
    QLabel::leaveEvent(event);
    Left();
}

void CHyperLink::Left() {
    if (!m_over) return;
    m_over = false;
    if (m_fontsMade) setFont(m_plainFont);
    ApplyColour();
    if (parentWidget()) parentWidget()->update(geometry().adjusted(0, 0, 0, 10));
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_over = false;
    Open();
}

void CHyperLink::mouseDoubleClickEvent(QMouseEvent* event) {
    // The double click's first press has opened the address already.
    event->accept();
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperLink::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (WantsFocusMark(this)) {
        QPainter painter(this);
        DrawFocusMark(painter, rect());
    }
}

void CHyperLink::Open() {
    const QString target = m_url.isEmpty() ? text() : m_url;
    const int result = m_opener ? m_opener(target) : 0;
    if (result > 32) {
        SetVisited(true);
        return;
    }
    QApplication::beep();
    // With no browser nor launcher the reason names what to install.
    const std::string why = result == kNoLinkOpener
                                ? FormatTextString(Text("LINK_OPEN_FAILED"), target.toStdString())
                                : "Unable to open hyperlink:\n\n" + HyperLinkErrorText(result);
    Prompt().MessageBox(why, "", MB_OK | MB_ICONWARNING);
    ApplyColour();
}

} // namespace orvane
