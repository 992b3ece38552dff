#pragma once
// Loading the lighting settings from the keyboard: its mode list from the
// device info record and its three lighting records, then the current
// profile's record decoded into the lighting model.
#include <array>
#include <cstdint>

#include "device/DeviceCommands.h"
#include "model/LightingRecord.h"

namespace orvane {

class CLightingModel;

// What one read of the keyboard's lighting found. Reading touches only the
// keyboard and the device info record, so it may run off the window's
// thread; the model takes the result on its own thread.
struct LightingRead {
    bool infoRead = false;
    int status = DEV_OK; // the first failing command's
    std::array<uint8_t, DEVICE_INFO_MODE_SLOTS> modes{};
    std::array<uint8_t, kLightingAreaSize> area{};
    std::array<bool, kLightingProfileCount> recordRead{};
};
LightingRead ReadKeyboardLighting();

// 1 when every command succeeded, else the first failing command's status
// (never 1). When the device info cannot be
// read the mode list is empty and every other setting stays as it was; when
// a later command fails (the begin, a record, the end) the records that were
// read are kept and decoded, the others stay as they were.
int TakeLightingRead(CLightingModel& model, const LightingRead& read);
int ReadLightingRecords(CLightingModel& model);
int ReadLightingRecords();

// The variant a new connection runs: when mode 20 is offered the colour-set
// list is refilled first, and the lighting switch is set to exactly what the
// settings file says.
int TakeLightingReadAfterConnect(CLightingModel& model, const LightingRead& read);
int ReadLightingRecordsAfterConnect(CLightingModel& model);
int ReadLightingRecordsAfterConnect();

} // namespace orvane
