#pragma once
// Loading the lighting settings from the keyboard: its mode list from the
// device info record and its three lighting records, then the current
// profile's record decoded into the lighting model.
namespace orvane {

class CLightingModel;

// 1 when every command succeeded, else the first failing command's status
// (never 1). When the device info cannot be
// read the mode list is empty and every other setting stays as it was; when
// a later command fails (the begin, a record, the end) the records that were
// read are kept and decoded, the others stay as they were.
int ReadLightingRecords(CLightingModel& model);
int ReadLightingRecords();

// The variant a new connection runs: when mode 20 is offered the colour-set
// list is refilled first, and the lighting switch is set to exactly what the
// settings file says.
int ReadLightingRecordsAfterConnect(CLightingModel& model);
int ReadLightingRecordsAfterConnect();

} // namespace orvane
