#include "transfer/LightingReadBack.h"

#include <algorithm>
#include <array>

#include "device/DeviceCommands.h"
#include "model/LightingModel.h"
#include "transfer/DeviceInfo.h"
#include "transfer/TransferHost.h"

namespace orvane {
namespace {

struct ReadOutcome {
    bool infoRead = false;
    int status = DEV_OK; // the first failing command's
};

// Steps 1 and 2 of both variants. Every record that was read is kept even
// when another command of the session failed.
ReadOutcome ReadRecords(CLightingModel& model) {
    DeviceInfoRecord info = SystemDeviceInfo();
    std::fill_n(info.begin() + DEVICE_INFO_MODES, DEVICE_INFO_MODE_SLOTS, 0);
    const int r = DevReadInfo(info);
    SetSystemDeviceInfo(info);
    model.SetDeviceModes(std::span<const uint8_t>(info.data() + DEVICE_INFO_MODES, DEVICE_INFO_MODE_SLOTS));
    if (r != DEV_OK) return {false, r};

    std::array<uint8_t, kLightingAreaSize> area = model.LightingArea();
    std::array<uint8_t, REPORT_PAYLOAD> buffer{};
    const int session = DevInSession([&] {
        int first = DEV_OK;
        for (size_t offset = 0; offset < kLightingAreaSize; offset += kLightingRecordSize) {
            // A record whose read failed keeps what the program had for it,
            // never the bytes of the record read before it.
            const int read =
                DevReadLighting(buffer, static_cast<uint8_t>(buffer.size()), static_cast<uint16_t>(offset));
            if (read == DEV_OK)
                std::copy_n(buffer.begin(), kLightingRecordSize,
                            area.begin() + static_cast<ptrdiff_t>(offset));
            else if (first == DEV_OK)
                first = read;
        }
        return first;
    });
    model.SetLightingArea(area);
    return {true, session};
}

} // namespace

int ReadLightingRecords(CLightingModel& model) {
    const ReadOutcome read = ReadRecords(model);
    if (!read.infoRead) return read.status;
    model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    return read.status;
}

int ReadLightingRecords() {
    return ReadLightingRecords(TheLighting());
}

int ReadLightingRecordsAfterConnect(CLightingModel& model) {
    const ReadOutcome read = ReadRecords(model);
    if (!read.infoRead) return read.status;
    if (DeviceOffersMode(kMaxLightingMode)) TransferHost().RefillColourSets();
    model.DecodeCurrentProfile(SwitchFromSettings::ExactlyStored);
    return read.status;
}

int ReadLightingRecordsAfterConnect() {
    return ReadLightingRecordsAfterConnect(TheLighting());
}

} // namespace orvane
