#include "model/LightingPort.h"

#include "device/DeviceCommands.h"
#include "model/LightingModel.h"

namespace orvane {

static_assert(kLightingRecordSize == LIGHTING_RECORD_SIZE);
static_assert(kLightingAreaSize == LIGHTING_AREA_SIZE);
static_assert(kKeyColourTableSize == KEY_COLOUR_PROFILE_SIZE);
static_assert(kModeSlotCount == DEVICE_INFO_MODE_SLOTS);

namespace {

class CDeviceLightingPort final : public CLightingPort {
  public:
    int BeginSession() override { return DevBeginSession(); }
    int EndSession() override { return DevEndSession(); }
    int WriteLighting(std::span<const uint8_t> data, uint16_t offset) override {
        return DevWriteLighting(data, offset);
    }
    int WriteKeyColours(std::span<const uint8_t> colours, int firstLed) override {
        return DevWriteKeyColours(colours, firstLed);
    }
    int WriteProfileKeyColours(std::span<const uint8_t> table) override {
        return DevWriteProfileKeyColours(table);
    }
    int CurrentProfile() override { return GetCurrentProfile(); }
};

} // namespace

CLightingPort& DeviceLightingPort() {
    static CDeviceLightingPort port;
    return port;
}

} // namespace orvane
