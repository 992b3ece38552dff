#include "app/gui/PlatformEnvironment.h"

#include <cstdlib>

namespace orvane {

void PreparePlatformEnvironment() {
    // Without any display (a console, a service, a test machine) the program
    // still runs, invisibly, so "/Kill" and a second start keep working.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Nothing is drawn with GL. Qt's Wayland plugin would still load its EGL
    // integration, and with it Mesa's renderer and LLVM (some 50 MB), only to
    // learn whether it may draw frames around windows itself: the skinned
    // window has none, and the desktops that start Wayland sessions frame the
    // standard dialogs themselves. The X11 plugin is kept from GLX and EGL alike.
    setenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1", 0);
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
}

} // namespace orvane
