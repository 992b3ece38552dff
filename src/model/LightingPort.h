#pragma once
// The keyboard commands the lighting model sends, behind a small interface so
// the model can be driven against a recording fake as well as the keyboard.
// The default port calls the device command functions.
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

class CLightingPort {
  public:
    virtual ~CLightingPort() = default;
    virtual int BeginSession() = 0;
    virtual int EndSession() = 0;
    // `data` (1-56 bytes) at `offset` of the lighting area.
    virtual int WriteLighting(std::span<const uint8_t> data, uint16_t offset) = 0;
    // Up to 54 bytes from LED `firstLed` in the current profile's colours.
    virtual int WriteKeyColours(std::span<const uint8_t> colours, int firstLed) = 0;
    // A whole profile's 512-byte colour table, inside its own bracket.
    virtual int WriteProfileKeyColours(std::span<const uint8_t> table) = 0;
    // The profile whose lighting is shown (0-2).
    virtual int CurrentProfile() = 0;
};

// The port of the connected keyboard (device command functions).
CLightingPort& DeviceLightingPort();

} // namespace orvane
