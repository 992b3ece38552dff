#pragma once
// The process-wide MainWindowLink: forwards every call of the device side to
// the main window's message bridge. It is never destroyed, so a device thread
// that outlives the window (they are never joined) gets quiet no-ops instead
// of a dangling window.
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "services/MainWindowLink.h"
#include "ui/MessageBridge.h"

namespace orvane {

// What the window does on its own thread for the link's non-message calls.
constexpr uint32_t UM_LINK_SET_TRAY_ICON = WM_APP + 1; // wParam: icon resource
constexpr uint32_t UM_LINK_HIDE_WINDOW = WM_APP + 2;
constexpr uint32_t UM_LINK_SHOW_MESSAGE = WM_APP + 3; // the text: TakeMessage()

class CBridgeWindowLink final : public MainWindowLink {
  public:
    void Attach(std::shared_ptr<CBridgeCore> core);

    intptr_t SendWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void PostWindowMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SetWindowTimer(uint32_t timerId, uint32_t periodMs) override;
    void KillWindowTimer(uint32_t timerId) override;
    void SetTrayIcon(int iconResource) override;
    void HideWindow() override;
    void ShowMessage(const std::string& text) override;
    // The window's thread, for each UM_LINK_SHOW_MESSAGE: the oldest text
    // not shown yet.
    std::optional<std::string> TakeMessage();

  private:
    std::shared_ptr<CBridgeCore> Core() const;
    mutable std::mutex mutex_;
    std::shared_ptr<CBridgeCore> core_;
    std::deque<std::string> messages_;
};

CBridgeWindowLink& MainBridgeLink();

} // namespace orvane
