#pragma once
// The program's copy of the keyboard's 44-byte device info record (active
// profile, macro capacity, offered lighting modes) and the reads a new
// connection makes. The window and a transfer's worker both read and write
// the copy, so it is only handed out and taken in whole, under its own lock.
#include <array>
#include <cstdint>

#include "device/DeviceCommands.h"

namespace orvane {

using DeviceInfoRecord = std::array<uint8_t, DEVICE_INFO_SIZE>;

DeviceInfoRecord SystemDeviceInfo();
void SetSystemDeviceInfo(const DeviceInfoRecord& info);

// Reads the device info record into the program's copy (only on success).
int ReadSystemDeviceInfo();

// Byte 10 of the copy when it names a profile (0-2), else -1.
int DeviceInfoProfile();

// Whether the copy's mode slots offer lighting mode `mode`.
bool DeviceOffersMode(int mode);

// The macro capacity, read from the device info when it is not known yet
// (0 until a device info read has succeeded). DEV_OK when known.
int EnsureMacroCapacity();

// The reads a connection makes before anything else talks to the keyboard:
// its default key matrix (kept as it was when unreadable) and its device
// info, which gives the macro capacity. The device info's status.
int ReadConnectionInfo();

} // namespace orvane
