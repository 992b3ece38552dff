#pragma once
// The program's icon in the notification area: three pictures that follow
// the keyboard, a tip, and the menu with Open, About and Exit. Double-click
// opens the window; a single click does nothing visible, except on desktops
// that speak StatusNotifierItem, which report one activation for a click and
// never a double-click: there an activation opens the window.
#include <functional>
#include <memory>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

class QMenu;

namespace orvane {

class CTrayIcon : public QObject {
    Q_OBJECT
  public:
    // `command` receives the chosen menu command, and the default command
    // (Open) on a double-click.
    explicit CTrayIcon(std::function<void(int command)> command, QObject* parent = nullptr);
    ~CTrayIcon() override;

    // Adds the icon with `tip` and icon resource `iconId`. With no tray host
    // yet the icon appears when one starts; the program says so once.
    void Create(const QString& tip, int iconId);
    // Both do nothing while the icon is not shown.
    void SetIcon(int iconId);
    void SetTip(const QString& tip);
    // A notification from the icon that goes away by itself; the last one
    // is kept for tests. Nothing while the icon is not shown.
    void ShowMessage(const QString& title, const QString& text);
    const QString& LastMessage() const { return m_lastMessage; }
    void Remove();

    bool Shown() const { return m_shown; }
    int IconId() const { return m_iconId; }
    QString Tip() const;
    // Called with the menu just before it shows, to set its texts.
    void SetMenuTextCallback(std::function<void(QMenu&)> callback) { m_menuText = std::move(callback); }
    QMenu& Menu() { return *m_menu; }
    // The menu as it is about to show (texts refreshed); tests and the
    // context-menu request use it.
    void PrepareMenu();
    // What a click, double-click or activation does.
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    // Test hook: treat this desktop as one with or without StatusNotifierItem.
    void SetStatusNotifierForTests(int uses) { m_statusNotifierOverride = uses; }

  private:
    bool UsesStatusNotifier() const;

    std::function<void(int)> m_command;
    std::function<void(QMenu&)> m_menuText;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;
    bool m_shown = false;
    int m_iconId = 0;
    int m_statusNotifierOverride = -1;
    QString m_lastMessage;
};

} // namespace orvane
