#pragma once
// The keyboard picture and the lighting panel of the main window, built with
// the window and hooked into its parts: the window forwards their commands,
// messages and timer ticks, and the lighting switch reports to the window.
#include <memory>

#include "mainwnd/KeyboardView.h"
#include "mainwnd/LightingPanel.h"
#include "model/LightingWriteQueue.h"

namespace orvane {

class COrvaneDlg;

struct CKeyboardAndPanel {
    // The panel's lighting writes go out through it; it outlives the panel.
    std::unique_ptr<CLightingWriteQueue> writes;
    ~CKeyboardAndPanel();
    std::unique_ptr<CKeyboardView> keys;
    std::unique_ptr<CLightingPanel> panel;
};

// Builds both on `window` (after its own buttons and face pictures) and fills
// its parts' hooks; UM_COLOUR_CHOSEN and UM_LED reach them through its bridge.
std::unique_ptr<CKeyboardAndPanel> BuildKeyboardAndPanel(COrvaneDlg& window);

} // namespace orvane
