#pragma once
// The program's one main window. The application object constructs it (the
// constructor settles the single instance), runs it for the life of the
// process and destroys it. It starts hidden with an icon in the tray;
// UM_OPEN and the tray's Open show it while a keyboard is connected; Close,
// the tray's Exit and UM_KILL end the program through the shutdown routine.
//
// Its files, by concern: COrvaneDlg.cpp (construction, initialisation,
// showing, closing, shutdown), MainWindowButtons.cpp (its own buttons and
// texts), MainWindowDispatch.cpp (messages, commands, keys, timers),
// MainWindowDeviceMessages.cpp (the keyboard coming, going and resetting;
// Flip), MainWindowHosts.cpp (what the transfer, the lighting model and the key
// tooltips ask of the window), MainWindowParts.h (the keyboard picture and
// the lighting panel).
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <QPoint>
#include <QPointer>
#include <string>
#include <vector>

#include "app/InstanceCheck.h"
#include "mainwnd/AboutDlg.h"
#include "mainwnd/MainWindowParts.h"
#include "mainwnd/QtPrompt.h"
#include "mainwnd/TransferRunner.h"
#include "model/KeyTooltip.h"
#include "model/LightingModel.h"
#include "model/PreviewLights.h"
#include "transfer/TransferHost.h"
#include "ui/BaseDialog.h"
#include "ui/InstanceSocket.h"
#include "ui/MessageBridge.h"

class QEventLoop;
class QPushButton;

namespace orvane {

class CClockChangeWatch;
class CFadingNote;
class COrvane_DlgProfile;
class CMainSkinFaces;
struct CKeyboardAndPanel;
struct LightingRead;
class CPngButton;
class CTrayIcon;

class COrvaneDlg : public CBaseDialog,
                   public CTransferHost,
                   public CLightingHost,
                   private CKeyButtonView,
                   private CKeyLights {
    Q_OBJECT
  public:
    // `args` are the arguments after the program name.
    explicit COrvaneDlg(const std::vector<std::string>& args,
                        CInstanceSystem& system = DefaultInstanceSystem(), QWidget* parent = nullptr);
    ~COrvaneDlg() override;

    // True when the instance check has ended this copy: the caller then ends
    // the process without running the window, with exit code 0 unless
    // "/Kill" could not close the running copy.
    bool EndProcessRequested() const { return m_endProcess; }
    bool KillFailed() const { return m_killFailed; }
    // The program's own window watches the keyboard from initialisation on;
    // a window built by a test does not start the process-long threads.
    void EnableDeviceThreads() { m_startDeviceThreads = true; }

    // The modal run: initialisation, then the window's own loop until the
    // shutdown ends it. Hiding the window does not end it.
    int RunModal();
    bool OnInitDialog() override;
    void OnOK() override;     // Apply, then hide
    void OnCancel() override; // only hides

    // Hides the window, runs the shutdown routine and ends the modal run.
    void CloseProgram();
    // UM_OPEN and the tray's Open: shows the window while a keyboard is
    // connected, otherwise says that none is.
    void ShowMainWindow();
    void HideMainWindow();
    // A button's click or a menu command, by id.
    void OnCommand(int id);
    // Apply on the transfer runner: the window keeps painting meanwhile.
    void RunApply();
    // Any transfer with the keyboard, the same way. A close asked for during
    // it (Exit, UM_KILL, a logout) takes effect once it has ended.
    void RunTransfer(const std::function<void()>& work);
    void OpenHelp();
    void OpenAbout();
    // A success the user should see without a click: a note that fades in
    // the window while it is shown, a tray notification while it is not.
    void Confirm(const std::string& text);
    CFadingNote* Note() const { return m_note; }

    CMessageBridge& Bridge() { return m_bridge; }
    uint32_t WindowTag() const { return m_windowTag; }
    int TrayIconId() const { return m_trayIconId; }
    bool ShutdownDone() const { return m_shutdownDone; }
    CTrayIcon* Tray() const { return m_tray.get(); }
    CAboutDlg* AboutBox() const { return m_about.data(); }
    // The window's own button with control id `id`, or null.
    CPngButton* Button(int id) const;
    QPushButton* HiddenButton(int id) const;
    const QString& WebAddress() const { return m_webAddress; }
    CMainWindowParts& Parts() { return m_parts; }
    CMainSkinFaces* Faces() const { return m_faces.get(); }
    CTransferRunner& Transfers() { return m_transfers; }
    // The busy picture's frame (0-9), -1 while hidden, and how often it changed.
    int BusyFrame() const { return m_busyFrame; }
    int BusyFrameChanges() const { return m_busyFrameChanges; }
    int AppliesStarted() const { return m_appliesStarted; }
    // Tests: whether a keyboard counts as connected (default: the connection monitor's state).
    void SetKeyboardPresence(std::function<bool()> present) { m_keyboardPresent = std::move(present); }

    // CTransferHost: callable from a transfer's worker thread; whatever
    // touches a widget is carried out on the GUI thread.
    bool ApplyPending() const override { return m_applyPending.load() != 0; }
    void SetApplyPending(bool pending) override;
    void ShowBusyIndicator(bool shown) override;
    void SetLightingPanelDefaults() override;
    void RefillColourSets() override;
    void SetProfileButtons(int profile) override;
    void PressProfileButton(int profile) override;
    void TurnLightingSwitchOff() override;
    CKeyButtonView& KeyButtons() override { return *this; }

    // CLightingHost
    bool ReselectActiveProfile() override;
    void ShowSwitchImage(bool on) override;
    void ShowPanelControls(int mode) override;
    void HidePanelControls() override;
    void RefreshKeyTooltips() override;
    // Key colours of the preview and of painting.
    CKeyLights& KeyLights() { return *this; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Shows, raises and activates the window, without asking whether a
    // keyboard is there.
    void ShowWindowNow();
    // CKeyButtonView
    bool GKeyBankSet() const override;
    void SetKeyButtonTooltip(int controlId, const std::string& text, bool checked) override;
    void MarkConfigurationChanged() override { SetApplyPending(true); }
    // CKeyLights
    void SetKeyLight(const KeyButton& button, Colour colour, bool lit) override;

    // Where the keyboard picture and the lighting panel are built and hooked in.
    void ConstructParts();
    void RegisterMessages();
    void CreateButtons();
    void LayoutButtons();
    void PlaceArrows();
    void NamePictureButtons();
    void ApplyTexts(int languageIndex);
    void CreateTrayIcon();
    void OnTimer(uint32_t timerId);
    void OnPreviewTimer();
    // Starts the preview timer when it has something to show.
    void ResumePreview();
    // Shown, not minimised, lighting switch on.
    bool PreviewSeen() const;
    void ShowBusyFrame(int frame);
    bool KeyboardPresent() const;
    bool IsOwnEvent(QObject* watched) const;
    void CancelOpenDialogs();
    // The device side's notifications (MainWindowDeviceMessages.cpp).
    void OnKeyboardConnected(); // UM_PROFILE
    void OnKeyboardGone();      // UM_DEVICE_GONE
    void OnLightingChanged();   // LIGHTING_CHANGED_TIMER
    void OnKeyboardReset();     // KEYBOARD_RESET_TIMER
    // Overlapping buttons drawn in the right order; Flip's group swapped in.
    void ChainOverlappingButtons();
    void ApplyFlipLayout();
    void ToggleFlip();
    void ShowBackupMenu();
    // Apply as the button and OK run it: true when there was something to
    // send and it reached the keyboard.
    bool SendChanges();
    // The four commands that end with a confirmation when they succeed.
    void ApplyCommand();
    void RestoreFileCommand();
    void BackupFileCommand();
    void DefaultCommand();
    void RunShutdown();
    // A failed read of the keyboard's lighting: the user learns that the
    // panel shows what the program last knew. GUI thread.
    void TellLightingUnread(int status);
    // Reads the keyboard's lighting on the transfer runner, the window
    // painting meanwhile; the caller checks m_shutdownDone before taking it.
    LightingRead ReadLightingMeanwhile();

    CMessageBridge m_bridge;
    CInstanceSocket m_instanceSocket;
    CQtPrompt m_prompt;
    CMainWindowParts m_parts;
    std::unique_ptr<CKeyboardAndPanel> m_keyboardAndPanel;
    CTransferRunner m_transfers;
    std::unique_ptr<CMainSkinFaces> m_faces;
    std::map<int, CPngButton*> m_buttons;
    std::map<int, QPushButton*> m_hiddenButtons;
    std::unique_ptr<COrvane_DlgProfile> m_profileManager;
    std::unique_ptr<CTrayIcon> m_tray;
    std::unique_ptr<CClockChangeWatch> m_clockWatch;
    QPointer<CAboutDlg> m_about;
    CFadingNote* m_note = nullptr;
    CKeyLightFrame m_lightFrame; // key colours while no keyboard picture is hooked in
    std::function<bool()> m_keyboardPresent;
    QString m_webAddress;
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = 0;
    bool m_endProcess = false;
    bool m_killFailed = false;
    bool m_startDeviceThreads = false;
    bool m_shutdownDone = false;
    bool m_endRequested = false;
    bool m_closeAfterTransfer = false;
    // While a new connection's configuration is read, the keyboard is there
    // but not counted as connected yet: a request to show the window waits.
    bool m_loadingConnection = false;
    bool m_showAfterLoading = false;
    // Where the window was when last hidden; the window manager would place
    // it anew at the next show.
    std::optional<QPoint> m_hiddenAt;
    int m_connectionsRead = 0;
    bool m_flip = false;
    uint32_t m_windowTag = 0;
    int m_trayIconId = 0;
    std::atomic<int> m_applyPending{0};
    int m_busyFrame = -1;
    int m_busyFrameChanges = 0;
    int m_appliesStarted = 0;
};

// The window object and whether it is the one the process runs; null before
// initialisation and after destruction.
COrvaneDlg* MainWindowObject();

} // namespace orvane
