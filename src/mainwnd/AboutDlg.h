#pragma once
// The About box: modeless, one at a time, its texts from the language file:
// what the program is, its version and the keyboard model connected, with a
// link to the configured web address. OK and Cancel close and destroy
// it; F1 opens the help page.
#include <functional>
#include <QDialog>

#include "ui/MessageBridge.h"

class QLabel;
class QPushButton;

namespace orvane {

class CHyperLink;

constexpr int IDC_ABOUT_COPYRIGHT = 1205;
constexpr int IDC_ABOUT_DESCRIPTION = 1206;
constexpr int IDC_ABOUT_LINK = 1124;

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    // `owner` is the window the box stays over, if one is shown;
    // `webAddress` is the link's target; `openHelp` runs on F1.
    CAboutDlg(QWidget* owner, const QString& webAddress, std::function<void()> openHelp);
    ~CAboutDlg() override;

    CMessageBridge& Bridge() { return m_bridge; }
    CHyperLink& Link() { return *m_link; }
    QLabel& Description() { return *m_description; }
    QLabel& Copyright() { return *m_copyright; }
    QLabel& Version() { return *m_version; }
    QLabel& Keyboard() { return *m_keyboard; }
    QPushButton& OkButton() { return *m_ok; }

    void accept() override { Close(); }
    void reject() override { Close(); }
    // Hides the box, tells the owner (Closed) and destroys it on the event loop.
    void Close();
    bool IsClosed() const { return m_closed; }

  signals:
    void Closed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void ApplyTexts(int languageIndex);

    CMessageBridge m_bridge;
    std::function<void()> m_openHelp;
    QLabel* m_description = nullptr;
    QLabel* m_copyright = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_keyboard = nullptr;
    CHyperLink* m_link = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_closed = false;
};

} // namespace orvane
