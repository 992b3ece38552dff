#pragma once
// Finding the keyboard among the HID interfaces.
#include <cstdint>

#include "device/HidDevice.h"

namespace orvane {

constexpr uint16_t COMMAND_USAGE_PAGE = 0xFF1C;
constexpr uint16_t COMMAND_USAGE = 0x92;
constexpr uint16_t CONSUMER_USAGE_PAGE = 0x0C;
constexpr uint16_t CONSUMER_USAGE = 0x01;

// Pre-filter on the path's "vid_"/"pid_" numbers (case ignored).
bool MatchVidPidInPath(const char* path);
bool IsAcceptedKeyboard(uint16_t vendorId, uint16_t productId);
// An accepted keyboard's vendor-defined command collection.
bool IsCommandInterface(const CHidDevice& device);
bool IsConsumerInterface(const CHidDevice& device);

// Walks the interfaces and leaves `device` open on the first command
// interface (read, write, overlapped, shared); sets the model parameters.
// False when none qualifies or the interfaces cannot be listed.
bool OpenCommandInterface(CHidDevice& device);

} // namespace orvane
