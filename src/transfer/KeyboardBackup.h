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

// Where the keyboard's own configuration is kept when a connection finds
// changes not yet sent: beside the working profile file of `profile`.
std::string KeyboardBackupPath(int profile);

// What reading the keyboard does with changes Apply has not sent yet.
enum class UnsentChanges {
    Keep,    // they stay the working copy and in its file; the keyboard's own
             // configuration goes to KeyboardBackupPath instead
    Discard, // the keyboard's configuration replaces them
};

// The keyboard's configuration becomes the working one, through a backup
// into the active profile's working profile file. With ApplyPending set and
// UnsentChanges::Keep, the working copy and its file stay as they are and
// the backup goes to KeyboardBackupPath.
// Program and Text keys of that file (which the keyboard cannot hold) are
// kept, with their strings, where the keyboard still sends what they send;
// its G-key assignments, which never go to the keyboard, are kept too (one
// playing a macro only while the keyboard still holds that macro).
// When anything fails, the working copy, the file and ApplyPending stay as
// they were. The key buttons are refreshed. 1 when the keyboard was read and
// its configuration kept where it belongs (ApplyPending then cleared unless
// the changes were kept), 0 otherwise.
int LoadKeyboardProfile(UnsentChanges unsent);

} // namespace orvane
