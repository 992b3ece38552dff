#pragma once
// Putting all three on-board profiles back to the keyboard's defaults.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/WriteResult.h"

namespace orvane {

// The 35 bytes a profile's lighting record is reset with: mode 1,
// brightness 4, speed 2, direction 0, colour wheel on, colour white, every
// other field 0.
constexpr size_t kLightingResetBytes = 35;
extern const std::array<uint8_t, kLightingResetBytes> kLightingResetRecord;

// Resets one profile's lighting (0-2): the lighting panel to its defaults,
// the per-key colour file back to the template when mode 20 is offered, and
// the record's first 35 bytes written in one bracket. DEV_OK when the
// begin, the write and the end all succeeded, else the first failure; 0 for
// a profile outside 0-2. A user data file that could not be put back is added
// to `fileFailures`, or told to the user at once without it.
int ResetProfileLighting(int profile, std::vector<WriteResult>* fileFailures = nullptr);

// User-interface thread. Asks "MAIN_PROMPT_DEFAULT" (No the default); on Yes
// resets every profile's keys and lighting, writes the default key matrix to
// each, runs Apply and shows profile 0. 0 when refused; otherwise 1 when
// every command (lighting resets, key matrix writes, the Apply's send)
// succeeded, else -1. When the keyboard's default matrix is not known and
// cannot be read again, it says so and changes nothing (-1).
int RestoreDefaults();

} // namespace orvane
