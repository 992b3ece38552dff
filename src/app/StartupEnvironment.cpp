#include "app/StartupEnvironment.h"

#include "platform/Paths.h"
#include "platform/Registry.h"
#include "services/PathTable.h"
#include "services/UserRegKey.h"

namespace orvane {

void PrepareStartupEnvironment() {
    SetRegistrySettingsRoot(kSettingsRoot, kDisplayTitle);
    // A refused path (too long) leaves the table empty; skins and help are
    // then missing and the program runs on without them.
    BuildPathTable(ExecutablePath());
    OpenUserRegKey();
}

} // namespace orvane
