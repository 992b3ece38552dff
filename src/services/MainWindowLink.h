#pragma once
// The only road from the device side (connection monitor, consumer listener,
// Apply's busy indicator) to the main window. The main window implements it;
// tests implement it with a recorder. Every call may come from any thread.
#include <cstdint>
#include <string>

namespace orvane {

class MainWindowLink {
  public:
    virtual ~MainWindowLink() = default;

    // Handled on the window's thread; a call from another thread blocks until
    // it has been handled and returns the handler's result.
    virtual intptr_t SendWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Queued for the window's thread; returns at once.
    virtual void PostWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void SetWindowTimer(uint32_t timerId, uint32_t periodMs) = 0;
    virtual void KillWindowTimer(uint32_t timerId) = 0;
    // Queued for the window's thread in call order; returns at once (the
    // consumer listener relies on both).
    virtual void SetTrayIcon(int iconResource) = 0;
    virtual void HideWindow() = 0;
    // Queued for the window's thread, which shows `text` in a message box;
    // returns at once (the device threads never wait for the user).
    virtual void ShowMessage(const std::string& text) = 0;
};

// The process-wide link the device threads use; null until the main window
// (or a test, or orvanectl) installs one.
MainWindowLink* GetMainWindowLink();
void SetMainWindowLink(MainWindowLink* link);

} // namespace orvane
