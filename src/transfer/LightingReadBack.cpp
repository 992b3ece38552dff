#include "transfer/LightingReadBack.h"

#include <algorithm>
#include <array>

#include "device/DeviceCommands.h"
#include "model/LightingModel.h"
#include "transfer/DeviceInfo.h"
#include "transfer/TransferHost.h"

namespace orvane {
namespace {

// Steps 1 and 2 of both variants: false when the device info is unreadable.
bool ReadRecords(CLightingModel& model) {
    DeviceInfoRecord& info = SystemDeviceInfo();
    std::fill_n(info.begin() + DEVICE_INFO_MODES, DEVICE_INFO_MODE_SLOTS, 0);
    const int r = DevReadInfo(info);
    model.SetDeviceModes(std::span<const uint8_t>(info.data() + DEVICE_INFO_MODES, DEVICE_INFO_MODE_SLOTS));
    if (r != DEV_OK) return false;

    std::array<uint8_t, kLightingAreaSize> area = model.LightingArea();
    std::array<uint8_t, REPORT_PAYLOAD> buffer{};
    DevBeginSession();
    for (size_t offset = 0; offset < kLightingAreaSize; offset += kLightingRecordSize) {
        // A record whose read failed keeps what the program had for it,
        // never the bytes of the record read before it.
        if (DevReadLighting(buffer, static_cast<uint8_t>(buffer.size()), static_cast<uint16_t>(offset)) ==
            DEV_OK)
            std::copy_n(buffer.begin(), kLightingRecordSize, area.begin() + static_cast<ptrdiff_t>(offset));
    }
    DevEndSession();
    model.SetLightingArea(area);
    return true;
}

} // namespace

int ReadLightingRecords(CLightingModel& model) {
    if (!ReadRecords(model)) return -1;
    model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    return 0;
}

int ReadLightingRecords() {
    return ReadLightingRecords(TheLighting());
}

int ReadLightingRecordsAfterConnect(CLightingModel& model) {
    if (!ReadRecords(model)) return -1;
    if (DeviceOffersMode(kMaxLightingMode)) TransferHost().RefillColourSets();
    model.DecodeCurrentProfile(SwitchFromSettings::ExactlyStored);
    return 0;
}

int ReadLightingRecordsAfterConnect() {
    return ReadLightingRecordsAfterConnect(TheLighting());
}

} // namespace orvane
