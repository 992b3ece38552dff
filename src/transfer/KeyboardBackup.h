#pragma once
// Copying the keyboard's configuration (its three key matrices and its macro
// memory) into a profile file, and making it the working configuration.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device/DefaultKeyMatrix.h"
#include "model/MacroRecord.h"

namespace orvane {

// The bytes of a profile file holding `macros` and, for each profile, the
// records DecodeKeyMatrix gives for its matrix; no texts, flag 0.
std::vector<uint8_t> BuildBackupFileBytes(const std::array<KeyMatrixBuffer, 3>& matrices,
                                          const MacroList& macros, std::span<const uint8_t> defaultMatrix,
                                          int keyCount);

// Reads the key matrices and the macro block and writes them to `path` as a
// profile file (through a temporary file, so a failed backup leaves the old
// file whole). 1 on success; 0 when the active profile is unknown, the
// default key matrix is not known and cannot be read, a read fails, the
// macro block does not decode, or the file cannot be written.
int BackupKeyboard(const std::string& path);

// User-interface thread: the keyboard's configuration becomes the working
// one, through a backup into the active profile's working profile file.
// Program and Text keys of that file (which the keyboard cannot hold) are
// kept, with their strings, where the keyboard still sends what they send;
// its G-key assignments, which never go to the keyboard, are kept too (one
// playing a macro only while the keyboard still holds that macro).
// When anything fails, the working copy, the file and ApplyPending stay as
// they were. The key buttons are refreshed, and on success ApplyPending is
// cleared unless `keepApplyPending`.
void LoadKeyboardProfile(bool keepApplyPending);

} // namespace orvane
