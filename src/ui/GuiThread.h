#pragma once
// Widgets belong to the GUI thread; code a transfer's worker runs may still
// have to touch one (a list, a menu, a caption).
#include <functional>

namespace orvane {

// Runs `work` on the GUI thread and returns once it has run: at once when
// called there or when there is no application object.
void RunOnGuiThread(const std::function<void()>& work);

} // namespace orvane
