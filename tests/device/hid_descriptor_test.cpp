// The report-descriptor parser against real-world layouts and hostile input.
#include <gtest/gtest.h>

#include "device/HidDescriptor.h"
#include "device/HidDevice.h"
#include "device/support/Descriptors.h"

namespace orvane::test {
namespace {

std::vector<HidPreparsedData> Parse(const std::vector<uint8_t>& d) {
    std::vector<HidPreparsedData> c;
    EXPECT_EQ(ParseReportDescriptor(d, c), HID_DESCRIPTOR_OK);
    return c;
}

std::vector<uint16_t> Usages(const HidPreparsedData& pp, uint16_t page, std::vector<uint8_t> report) {
    uint16_t u[32];
    uint32_t n = 32;
    GetUsages(HidReportKind::Input, page, u, &n, pp, report);
    return std::vector<uint16_t>(u, u + n);
}

TEST(HidDescriptor, KeyboardNodeWithSystemAndConsumerControl) {
    auto c = Parse(kKeyboardNode);
    ASSERT_EQ(c.size(), 3u);
    HidCaps kb = GetCaps(c[0]), sys = GetCaps(c[1]), cons = GetCaps(c[2]);
    EXPECT_EQ(kb.UsagePage, 0x01);
    EXPECT_EQ(kb.Usage, 0x06);
    EXPECT_EQ(kb.InputReportByteLength, 9); // 8 data bytes + report id
    EXPECT_EQ(kb.OutputReportByteLength, 2);
    EXPECT_EQ(sys.Usage, 0x80);
    EXPECT_EQ(sys.InputReportByteLength, 2);
    EXPECT_EQ(cons.UsagePage, 0x0C);
    EXPECT_EQ(cons.InputReportByteLength, 3);
    EXPECT_EQ(kb.NumberInputButtonCaps, 2);
    EXPECT_EQ(MaxUsageListLength(HidReportKind::Input, 0x07, c[0]), 14u);

    // Left Shift held with A and B; the array's empty slots carry nothing.
    EXPECT_EQ(Usages(c[0], 0x07, {1, 0x02, 0, 0x04, 0x05, 0, 0, 0, 0}),
              (std::vector<uint16_t>{0xE1, 0x04, 0x05}));
    EXPECT_EQ(Usages(c[1], 0x01, {2, 0x05}), (std::vector<uint16_t>{0x81, 0x83}));
    EXPECT_EQ(Usages(c[2], 0x0C, {3, 0xE9, 0x00}), (std::vector<uint16_t>{0xE9}));
    EXPECT_TRUE(Usages(c[2], 0x0C, {3, 0x00, 0x00}).empty());
    // Out of the logical range: no usage rather than a made-up one.
    EXPECT_TRUE(Usages(c[2], 0x0C, {3, 0xFF, 0x7F}).empty());

    // Another collection's report, or a short one, is not decoded.
    uint16_t u[4];
    uint32_t n = 4;
    EXPECT_EQ(GetUsages(HidReportKind::Input, 0x0C, u, &n, c[2], std::vector<uint8_t>{1, 0, 0}),
              HIDP_STATUS_REPORT_DOES_NOT_EXIST);
    n = 4;
    EXPECT_EQ(GetUsages(HidReportKind::Input, 0x0C, u, &n, c[2], std::vector<uint8_t>{3, 0xE9}),
              HIDP_STATUS_INVALID_REPORT_LENGTH);
    EXPECT_EQ(n, 0u);
}

TEST(HidDescriptor, VendorCommandCollectionIsSixtyFourBytesEachWay) {
    auto c = Parse(kCommandNode);
    ASSERT_EQ(c.size(), 2u);
    HidCaps caps = GetCaps(c[1]);
    EXPECT_EQ(caps.UsagePage, 0xFF1C);
    EXPECT_EQ(caps.Usage, 0x92);
    EXPECT_EQ(caps.InputReportByteLength, 64);
    EXPECT_EQ(caps.OutputReportByteLength, 64);
    EXPECT_EQ(caps.FeatureReportByteLength, 0);
    auto values = GetValueCaps(HidReportKind::Input, c[1]);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].ReportID, 4);
    EXPECT_EQ(values[0].ReportCount, 63);
    EXPECT_TRUE(GetButtonCaps(HidReportKind::Input, c[1]).empty());
}

TEST(HidDescriptor, SignedValuesScaleToThePhysicalRange) {
    auto c = Parse(kMouseNode);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_FALSE(c[0].UsesReportIds);
    EXPECT_EQ(c[0].LinkCollectionNodes, 2);
    std::vector<uint8_t> report = {0, 0x01, 0x81, 0x7F}; // left button, x = -127, y = 127
    uint32_t raw = 0;
    int32_t scaled = 0;
    EXPECT_EQ(GetUsageValue(HidReportKind::Input, 0x01, 0x30, &raw, c[0], report), HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, 0x81u);
    EXPECT_EQ(GetScaledUsageValue(HidReportKind::Input, 0x01, 0x30, &scaled, c[0], report),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(scaled, 0);
    EXPECT_EQ(GetScaledUsageValue(HidReportKind::Input, 0x01, 0x31, &scaled, c[0], report),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(scaled, 1000);
    EXPECT_EQ(Usages(c[0], 0x09, report), (std::vector<uint16_t>{1}));
    EXPECT_EQ(GetUsageValue(HidReportKind::Input, 0x01, 0x38, &raw, c[0], report),
              HIDP_STATUS_USAGE_NOT_FOUND);
}

TEST(HidDescriptor, ExtendedUsagesCarryTheirOwnPage) {
    // Generic Desktop page, but the collection and field usages name the
    // consumer page in their high word; Push/Pop restore the globals.
    const std::vector<uint8_t> d = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01, 0xA4, 0x85,
                                    0x07, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01, 0x0B, 0xE9,
                                    0x00, 0x0C, 0x00, 0x81, 0x02, 0xB4, 0x75, 0x07, 0x81, 0x01, 0xC0};
    auto c = Parse(d);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].UsagePage, 0x0C);
    EXPECT_EQ(c[0].Usage, 0x01);
    // After Pop the report id is 0 again, so the padding is a report of its own.
    EXPECT_EQ(c[0].ReportBytes[0][7], 2);
    EXPECT_EQ(Usages(c[0], 0x0C, {7, 0x01}), (std::vector<uint16_t>{0xE9}));
}

TEST(HidDescriptor, MalformedDescriptorsAreRefused) {
    const std::vector<std::vector<uint8_t>> bad = {
        {0x05},                               // item cut short
        {0x26, 0xFF},                         // two-byte item with one byte
        {0xC0},                               // End Collection without a collection
        {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01}, // collection never closed
        {0xB4},                               // Pop with nothing pushed
        {0x85, 0x00},                         // report id 0
        {0xFE, 0x10, 0x00, 0x01},             // long item longer than the data
        {0x0C},                               // reserved item type
        // 0xFFFFFFFF x 8 bits
        {0xA1, 0x01, 0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x09, 0x01, 0x81, 0x02, 0xC0},
        // usage minimum above maximum
        {0xA1, 0x01, 0x19, 0x05, 0x29, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0},
        // a report of more than 4096 bytes, from fields that each fit
        {0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x08, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x81, 0x02, 0xC0},
    };
    for (const auto& d : bad) {
        std::vector<HidPreparsedData> c;
        EXPECT_EQ(ParseReportDescriptor(d, c), HID_DESCRIPTOR_MALFORMED) << ::testing::PrintToString(d);
    }
    std::vector<uint8_t> deep;
    for (int i = 0; i < 40; ++i)
        deep.insert(deep.end(), {0xA1, 0x00});
    for (int i = 0; i < 40; ++i)
        deep.push_back(0xC0);
    std::vector<HidPreparsedData> c;
    EXPECT_EQ(ParseReportDescriptor(deep, c), HID_DESCRIPTOR_MALFORMED);
    std::vector<uint8_t> pushes(20, 0xA4);
    EXPECT_EQ(ParseReportDescriptor(pushes, c), HID_DESCRIPTOR_MALFORMED);

    // Every truncation of a good descriptor is refused or parsed, never read past.
    for (size_t n = 0; n < kKeyboardNode.size(); ++n) {
        std::vector<uint8_t> cut(kKeyboardNode.begin(), kKeyboardNode.begin() + static_cast<ptrdiff_t>(n));
        ParseReportDescriptor(cut, c);
    }
}

TEST(HidDescriptor, UnpackKeepsOnlyUsagesInTheItemRange) {
    auto c = Parse(kKeyboardNode);
    HidDataItem items[2];
    // A button item narrower than the field: Power and Sleep only.
    items[0].IsButton = 1;
    items[0].UsagePage = 0x01;
    items[0].ReportID = 2;
    items[0].UsageMin = 0x82;
    items[0].UsageMax = 0x83;
    items[0].UsageCapacity = 3;
    items[0].Usages.assign(3, 0xEEEE);
    // An item of another report keeps what it held.
    items[1] = items[0];
    items[1].ReportID = 3;
    const uint8_t report[] = {2, 0x07};
    EXPECT_TRUE(CHidDevice::UnpackReport(report, sizeof report, HidReportKind::Input, items, 2, &c[1]));
    EXPECT_EQ(items[0].Usages, (std::vector<uint16_t>{0x82, 0x83, 0}));
    EXPECT_EQ(items[0].IsSet, 1);
    EXPECT_EQ(items[1].Usages, (std::vector<uint16_t>{0xEEEE, 0xEEEE, 0xEEEE}));
    EXPECT_EQ(items[1].IsSet, 0);

    // A value item that the report cannot supply fails the unpack.
    HidDataItem value;
    value.UsagePage = 0x01;
    value.Usage = 0x30;
    value.ReportID = 2;
    EXPECT_FALSE(CHidDevice::UnpackReport(report, sizeof report, HidReportKind::Input, &value, 1, &c[1]));
}

} // namespace
} // namespace orvane::test
