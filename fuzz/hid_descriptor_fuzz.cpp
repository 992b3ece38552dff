// Report descriptors come from the device: parse anything, then decode a
// report made of the same bytes against every collection found.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/HidDescriptor.h"
#include "device/HidDevice.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<HidPreparsedData> collections;
    if (ParseReportDescriptor(std::span<const uint8_t>(data, size), collections) != HID_DESCRIPTOR_OK)
        return 0;
    for (const HidPreparsedData& pp : collections) {
        HidCaps caps = GetCaps(pp);
        auto buttons = GetButtonCaps(HidReportKind::Input, pp);
        auto values = GetValueCaps(HidReportKind::Input, pp);
        // A report of the collection's length, filled from the input's tail.
        std::vector<uint8_t> report(caps.InputReportByteLength ? caps.InputReportByteLength : 1);
        for (size_t i = 0; i < report.size() && i < size; ++i)
            report[i] = data[size - 1 - i];
        if (!buttons.empty()) report[0] = buttons[0].ReportID;
        std::vector<HidDataItem> items;
        for (const auto& b : buttons) {
            HidDataItem item;
            item.IsButton = 1;
            item.UsagePage = b.UsagePage;
            item.ReportID = b.ReportID;
            item.UsageMin = b.UsageMin;
            item.UsageMax = b.UsageMax;
            item.UsageCapacity = MaxUsageListLength(HidReportKind::Input, b.UsagePage, pp) % 4096;
            item.Usages.assign(item.UsageCapacity, 0);
            items.push_back(item);
        }
        for (const auto& v : values) {
            HidDataItem item;
            item.UsagePage = v.UsagePage;
            item.ReportID = v.ReportID;
            item.Usage = v.UsageMin;
            items.push_back(item);
        }
        CHidDevice::UnpackReport(report.data(), report.size(), HidReportKind::Input, items.data(),
                                 static_cast<uint32_t>(items.size()), &pp);
    }
    return 0;
}
