#include "transfer/LightingReadBack.h"

#include <algorithm>

#include "model/LightingModel.h"
#include "transfer/DeviceInfo.h"
#include "transfer/TransferHost.h"

namespace orvane {
namespace {

// The records read and the mode list into the model; false when the device
// info could not be read, and then only the (empty) mode list is taken.
bool TakeRecords(CLightingModel& model, const LightingRead& read) {
    model.SetDeviceModes(read.modes);
    if (!read.infoRead) return false;
    // A record whose read failed keeps what the program had for it.
    std::array<uint8_t, kLightingAreaSize> area = model.LightingArea();
    for (size_t r = 0; r < read.recordRead.size(); ++r)
        if (read.recordRead[r])
            std::copy_n(read.area.begin() + static_cast<ptrdiff_t>(r * kLightingRecordSize),
                        kLightingRecordSize, area.begin() + static_cast<ptrdiff_t>(r * kLightingRecordSize));
    model.SetLightingArea(area);
    return true;
}

} // namespace

LightingRead ReadKeyboardLighting() {
    LightingRead read;
    DeviceInfoRecord info = SystemDeviceInfo();
    std::fill_n(info.begin() + DEVICE_INFO_MODES, DEVICE_INFO_MODE_SLOTS, 0);
    read.status = DevReadInfo(info);
    SetSystemDeviceInfo(info);
    std::copy_n(info.begin() + DEVICE_INFO_MODES, DEVICE_INFO_MODE_SLOTS, read.modes.begin());
    if (read.status != DEV_OK) return read;
    read.infoRead = true;

    std::array<uint8_t, REPORT_PAYLOAD> buffer{};
    read.status = DevInSession([&] {
        int first = DEV_OK;
        for (size_t r = 0; r < read.recordRead.size(); ++r) {
            const size_t offset = r * kLightingRecordSize;
            // Never the bytes of the record read before a failed one.
            const int status =
                DevReadLighting(buffer, static_cast<uint8_t>(buffer.size()), static_cast<uint16_t>(offset));
            read.recordRead[r] = status == DEV_OK;
            if (status == DEV_OK)
                std::copy_n(buffer.begin(), kLightingRecordSize,
                            read.area.begin() + static_cast<ptrdiff_t>(offset));
            else if (first == DEV_OK)
                first = status;
        }
        return first;
    });
    return read;
}

int TakeLightingRead(CLightingModel& model, const LightingRead& read) {
    if (TakeRecords(model, read)) model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    return read.status;
}

int ReadLightingRecords(CLightingModel& model) {
    return TakeLightingRead(model, ReadKeyboardLighting());
}

int ReadLightingRecords() {
    return ReadLightingRecords(TheLighting());
}

int TakeLightingReadAfterConnect(CLightingModel& model, const LightingRead& read) {
    if (!TakeRecords(model, read)) return read.status;
    if (DeviceOffersMode(kMaxLightingMode)) TransferHost().RefillColourSets();
    model.DecodeCurrentProfile(SwitchFromSettings::ExactlyStored);
    return read.status;
}

int ReadLightingRecordsAfterConnect(CLightingModel& model) {
    return TakeLightingReadAfterConnect(model, ReadKeyboardLighting());
}

int ReadLightingRecordsAfterConnect() {
    return ReadLightingRecordsAfterConnect(TheLighting());
}

} // namespace orvane
