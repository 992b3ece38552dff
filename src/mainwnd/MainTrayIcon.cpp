#include "mainwnd/MainTrayIcon.h"

#include <cstdio>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QMenu>

#include "mainwnd/MainWindowIds.h"
#include "ui/TrayIcons.h"

namespace orvane {
namespace {

// Menu 140: Open, About, Exit; their texts are set before each showing.
constexpr int kMenuCommands[] = {ID_TRAY_OPEN, ID_TRAY_ABOUT, ID_TRAY_EXIT};
bool g_NoTrayReported = false;
constexpr int kNotificationMs = 4000;

} // namespace

CTrayIcon::CTrayIcon(std::function<void(int)> command, QObject* parent)
    : QObject(parent), m_command(std::move(command)), m_menu(std::make_unique<QMenu>()) {
    for (int id : kMenuCommands) {
        QAction* action = m_menu->addAction(QString());
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] {
            if (m_command) m_command(id);
        });
    }
    m_menu->setDefaultAction(m_menu->actions().value(0));
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] {
        if (m_menuText) m_menuText(*m_menu);
    });
}

CTrayIcon::~CTrayIcon() {
    Remove();
}

void CTrayIcon::Create(const QString& tip, int iconId) {
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(this);
        m_icon->setContextMenu(m_menu.get());
        connect(m_icon, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable() && !g_NoTrayReported) {
        g_NoTrayReported = true;
        std::fprintf(stderr, "orvane: no system tray found; the icon appears when a tray starts. "
                             "Start orvane again to open its window.\n");
    }
    m_iconId = iconId;
    m_icon->setIcon(LoadTrayIcon(iconId));
    m_icon->setToolTip(tip);
    // Qt adds the icon again whenever a tray host (re)appears.
    m_icon->show();
    m_shown = true;
}

void CTrayIcon::ShowMessage(const QString& title, const QString& text) {
    if (!m_shown || !m_icon) return;
    m_lastMessage = text;
    m_icon->showMessage(title, text, QSystemTrayIcon::Information, kNotificationMs);
}

void CTrayIcon::SetIcon(int iconId) {
    if (!m_shown) return;
    m_iconId = iconId;
    m_icon->setIcon(LoadTrayIcon(iconId));
}

void CTrayIcon::SetTip(const QString& tip) {
    if (m_shown) m_icon->setToolTip(tip);
}

QString CTrayIcon::Tip() const {
    return m_icon ? m_icon->toolTip() : QString();
}

void CTrayIcon::Remove() {
    if (m_icon) m_icon->hide();
    m_shown = false;
}

void CTrayIcon::PrepareMenu() {
    if (m_menuText) m_menuText(*m_menu);
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        if (m_command) m_command(ID_TRAY_OPEN);
        break;
    case QSystemTrayIcon::Trigger:
        // A single click on an XEmbed tray does nothing: a double click opens.
        if (UsesStatusNotifier() && m_command) m_command(ID_TRAY_OPEN);
        break;
    default:
        break;
    }
}

bool CTrayIcon::UsesStatusNotifier() const {
    if (m_statusNotifierOverride >= 0) return m_statusNotifierOverride != 0;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return true; // no XEmbed tray outside X11
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

} // namespace orvane
