#include "ui/BaseDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "services/Prompt.h"
#include "ui/SkinImage.h"

namespace orvane {

CBaseDialog::CBaseDialog(QWidget* parent, std::string skinFile, std::string skinFolder)
    : QDialog(parent), m_skinFile(std::move(skinFile)), m_skinFolder(std::move(skinFolder)) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    // The background is painted by us, completely.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Outside the outline the window is painted transparent wherever a
    // compositor may draw its alpha: on Wayland a mask only shapes input, and
    // under XWayland the shape alone leaves black corners. An X server with
    // no compositor still cuts the corners by the shape.
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")) || platform == QLatin1String("xcb"))
        setAttribute(Qt::WA_TranslucentBackground);
}

CBaseDialog::~CBaseDialog() = default;

int CBaseDialog::DoModal() {
    if (!OnInitDialog()) return IDCANCEL;
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

bool CBaseDialog::OnInitDialog() {
    ++m_initCount;
    ApplySkin();
    return true;
}

void CBaseDialog::OnOK() {
    ReleasePictures();
    EndDialogOk();
}

void CBaseDialog::OnCancel() {
    ReleasePictures();
    EndDialogCancel();
}

void CBaseDialog::ReleasePictures() {
    m_background = QPixmap();
}

void CBaseDialog::ApplySkin() {
    m_loadingSkin = 1;
    m_ini.Load(m_skinFile);
    auto main = m_ini.GetString("SCREEN", "Main");
    auto mask = m_ini.GetString("SCREEN", "Mask");
    const std::string mainName = main ? *main : std::string();
    const std::string maskName = mask ? *mask : mainName;
    const QString folder = QString::fromStdString(m_skinFolder);

    m_background = QPixmap::fromImage(LoadPictureFile(folder + QString::fromStdString(mainName)));
    // The mask is only needed for the outline: its pixels are not kept.
    m_outline =
        BitmapToRegion(LoadPictureFile(folder + QString::fromStdString(maskName)), kMaskTransparent, 0);

    setFixedSize(m_background.size());
    if (!m_outline.isEmpty())
        setMask(m_outline);
    else
        clearMask();
    update();
    m_loadingSkin = 0;
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (testAttribute(Qt::WA_TranslucentBackground)) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        if (!m_outline.isEmpty()) painter.setClipRegion(m_outline);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (!m_background.isNull()) painter.drawPixmap(0, 0, m_background);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || PressOnControl(event->position().toPoint())) {
        // A press a control passed on (disabled, or outside its hit area) is
        // still meant for that control.
        QDialog::mousePressEvent(event);
        return;
    }
    // The move starts once the pointer travels with the button held: a
    // system move begun by a quick click outlives its release, and the
    // window would follow the pointer until the next click.
    m_drag = Drag::Pending;
    m_pressAt = event->globalPosition().toPoint();
    m_dragOffset = m_pressAt - frameGeometry().topLeft();
    event->accept();
}

bool CBaseDialog::PressOnControl(const QPoint& pos) const {
    for (const QWidget* w = childAt(pos); w && w != this; w = w->parentWidget())
        if (w->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(w)) return true;
    return false;
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag == Drag::None || !(event->buttons() & Qt::LeftButton)) {
        m_drag = Drag::None;
        QDialog::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->globalPosition().toPoint();
    if (m_drag == Drag::Pending) {
        if ((at - m_pressAt).manhattanLength() < QApplication::startDragDistance()) return event->accept();
        QWindow* window = windowHandle();
        m_drag = window && window->startSystemMove() ? Drag::None : Drag::Manual;
    }
    if (m_drag == Drag::Manual) move(at - m_dragOffset);
    event->accept();
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (m_drag != Drag::None && event->button() == Qt::LeftButton) {
        m_drag = Drag::None;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

} // namespace orvane
