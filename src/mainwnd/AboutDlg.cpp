#include "mainwnd/AboutDlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/ConnectionMonitor.h"
#include "device/DeviceCommands.h"
#include "services/Language.h"
#include "services/SimulateOption.h"
#include "services/WindowMessages.h"
#include "ui/ControlMessages.h"
#include "ui/HyperLink.h"
#include "ui/TrayIcons.h"

namespace orvane {

CAboutDlg::CAboutDlg(QWidget* owner, const QString& webAddress, std::function<void()> openHelp)
    : QDialog(owner), m_bridge(this), m_openHelp(std::move(openHelp)) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto* icon = new QLabel(this);
    icon->setPixmap(LoadTrayIcon(ICON_NO_KEYBOARD).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    m_description = new QLabel(this);
    SetControlId(m_description, IDC_ABOUT_DESCRIPTION);
    m_description->setWordWrap(true);
    m_copyright = new QLabel(this);
    SetControlId(m_copyright, IDC_ABOUT_COPYRIGHT);
    m_copyright->setWordWrap(true);
    m_version = new QLabel(this);
    m_keyboard = new QLabel(this);
    m_link = new CHyperLink(this, IDC_ABOUT_LINK);
    m_link->SetURL(webAddress);
    m_link->Attach();
    m_ok = new QPushButton(this);
    SetControlId(m_ok, 1);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { Close(); });

    auto* texts = new QVBoxLayout;
    texts->addWidget(m_description);
    texts->addWidget(m_version);
    texts->addWidget(m_keyboard);
    texts->addWidget(m_copyright);
    texts->addWidget(m_link);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    // The box follows its texts: wrapped at a fixed width, as high as they need.
    m_description->setFixedWidth(320);
    m_copyright->setFixedWidth(320);
    all->setSizeConstraint(QLayout::SetFixedSize);

    m_bridge.OnTaggedMessage(UM_LANG, TAG_LANG, [this](intptr_t index) -> intptr_t {
        ApplyTexts(static_cast<int>(index));
        return 0;
    });
    show();
    m_bridge.SendMessage(UM_LANG, TAG_LANG, CurrentLanguageIndex());
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::ApplyTexts(int languageIndex) {
    setWindowTitle(QString::fromStdString(LoadText("LANG_ABOUT_TITLE", languageIndex)));
    m_description->setText(QString::fromStdString(LoadText("GUANYU_JIESHAO", languageIndex)));
    m_copyright->setText(QString::fromStdString(LoadText("GUANYU_BANQUAN", languageIndex)));
    m_version->setText(QString::fromStdString(FormatTextString(
        LoadText("ABOUT_VERSION", languageIndex), QCoreApplication::applicationVersion().toStdString())));
    // The keyboard's device info names no firmware version: the model is
    // all there is to show.
    std::string keyboard = LoadText("ABOUT_NO_KEYBOARD", languageIndex);
    if (ConnectedState() > 0)
        keyboard = FormatTextNumber(
            LoadText(SimulatedModel() ? "ABOUT_KEYBOARD_SIMULATED" : "ABOUT_KEYBOARD", languageIndex),
            KeyCount());
    m_keyboard->setText(QString::fromStdString(keyboard));
    m_description->update();
    m_copyright->update();
    m_ok->setText(QString::fromStdString(LoadText("LANG_ABOUT_OK", languageIndex)));
}

void CAboutDlg::Close() {
    if (m_closed) return;
    m_closed = true;
    hide();
    emit Closed();
    deleteLater();
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (m_openHelp) m_openHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace orvane
