#pragma once
// Our own HID report-descriptor parser: top-level collections, report
// lengths, button and value capabilities, and decoding of input reports.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

enum class HidReportKind : uint8_t { Input = 0, Output = 1, Feature = 2 };

// Status values as the platform's parser gives them; callers compare with these.
constexpr int32_t HIDP_STATUS_SUCCESS = 0x00110000;
constexpr int32_t HIDP_STATUS_USAGE_NOT_FOUND = static_cast<int32_t>(0xC0110004);
constexpr int32_t HIDP_STATUS_BUFFER_TOO_SMALL = static_cast<int32_t>(0xC0110007);
constexpr int32_t HIDP_STATUS_REPORT_DOES_NOT_EXIST = static_cast<int32_t>(0xC0110010);
constexpr int32_t HIDP_STATUS_NULL = static_cast<int32_t>(0x80110001);
constexpr int32_t HIDP_STATUS_INVALID_REPORT_LENGTH = static_cast<int32_t>(0xC0110003);

// One main item (Input, Output or Feature) of one report.
struct HidField {
    HidReportKind Kind = HidReportKind::Input;
    uint8_t ReportID = 0;
    uint16_t UsagePage = 0;
    uint16_t LinkCollection = 0;
    uint32_t BitOffset = 0; // from the first data bit, after the report id byte
    uint32_t BitSize = 0;
    uint32_t Count = 0;
    uint32_t Flags = 0; // bit 0 constant, bit 1 variable, bit 2 relative
    bool IsRange = false;
    uint16_t UsageMin = 0, UsageMax = 0;
    std::vector<uint16_t> Usages; // explicit usages when not a range
    int32_t LogicalMin = 0, LogicalMax = 0;
    int32_t PhysicalMin = 0, PhysicalMax = 0;

    bool IsConstant() const { return Flags & 1; }
    bool IsVariable() const { return Flags & 2; }
    // Arrays and one-bit variables are buttons; wider variables are values.
    bool IsButton() const { return !IsVariable() || BitSize == 1; }
};

struct HidCaps {
    uint16_t Usage = 0;
    uint16_t UsagePage = 0;
    uint16_t InputReportByteLength = 0;
    uint16_t OutputReportByteLength = 0;
    uint16_t FeatureReportByteLength = 0;
    uint16_t NumberLinkCollectionNodes = 0;
    uint16_t NumberInputButtonCaps = 0;
    uint16_t NumberInputValueCaps = 0;
    uint16_t NumberInputDataIndices = 0;
    uint16_t NumberOutputButtonCaps = 0;
    uint16_t NumberOutputValueCaps = 0;
    uint16_t NumberOutputDataIndices = 0;
    uint16_t NumberFeatureButtonCaps = 0;
    uint16_t NumberFeatureValueCaps = 0;
    uint16_t NumberFeatureDataIndices = 0;
};
static_assert(sizeof(HidCaps) == 30);

struct HidButtonCaps {
    uint16_t UsagePage = 0;
    uint8_t ReportID = 0;
    uint16_t LinkCollection = 0;
    bool IsRange = false;
    uint16_t UsageMin = 0, UsageMax = 0; // equal when not a range
    int32_t LogicalMin = 0, LogicalMax = 0;
};

struct HidValueCaps {
    uint16_t UsagePage = 0;
    uint8_t ReportID = 0;
    uint16_t LinkCollection = 0;
    bool IsRange = false;
    uint16_t UsageMin = 0, UsageMax = 0;
    uint16_t BitSize = 0, ReportCount = 0;
    int32_t LogicalMin = 0, LogicalMax = 0;
    int32_t PhysicalMin = 0, PhysicalMax = 0;
};

// Everything the parser knows about one top-level collection: the preparsed
// data that every decoding call takes.
struct HidPreparsedData {
    uint16_t UsagePage = 0;
    uint16_t Usage = 0;
    uint16_t LinkCollectionNodes = 0;
    bool UsesReportIds = false;
    std::vector<HidField> Fields;
    // Size in bytes of each report of this collection, report id included,
    // indexed [kind][report id].
    uint16_t ReportBytes[3][256] = {};
};

constexpr int HID_DESCRIPTOR_OK = 1;
constexpr int HID_DESCRIPTOR_MALFORMED = 0;

// Splits a report descriptor into its top-level collections. Refuses (0) a
// descriptor that is truncated, unbalanced, too deep, or describes reports
// larger than a HID report can be; never reads out of bounds.
int ParseReportDescriptor(std::span<const uint8_t> descriptor, std::vector<HidPreparsedData>& collections);

HidCaps GetCaps(const HidPreparsedData& pp);
std::vector<HidButtonCaps> GetButtonCaps(HidReportKind kind, const HidPreparsedData& pp);
std::vector<HidValueCaps> GetValueCaps(HidReportKind kind, const HidPreparsedData& pp);
// How many usages of `usagePage` an input report can hold at once.
uint32_t MaxUsageListLength(HidReportKind kind, uint16_t usagePage, const HidPreparsedData& pp);

// Active button usages on `usagePage` in `report` (byte 0 = report id).
// On entry *count is the capacity of `usages`; on return the number written.
int32_t GetUsages(HidReportKind kind, uint16_t usagePage, uint16_t* usages, uint32_t* count,
                  const HidPreparsedData& pp, std::span<const uint8_t> report);
int32_t GetUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, uint32_t* value,
                      const HidPreparsedData& pp, std::span<const uint8_t> report);
int32_t GetScaledUsageValue(HidReportKind kind, uint16_t usagePage, uint16_t usage, int32_t* value,
                            const HidPreparsedData& pp, std::span<const uint8_t> report);

} // namespace orvane
