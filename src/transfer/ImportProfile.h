#pragma once
// Importing a profile file: the file becomes the working configuration, is
// saved into the active profile's working profile file and is sent to the
// keyboard for all three profiles.
#include <string>

namespace orvane {

// User-interface thread, after the user chose `path`. A file that is not
// well formed changes nothing and shows "MAIN_PROMPT_INPORT" (0). Otherwise
// 1 when the keyboard took it and ApplyPending was cleared; -1 when the send
// failed, in which case ApplyPending stays set and the next Apply sends all
// three profiles again.
int ImportProfile(const std::string& path);

} // namespace orvane
