// Cross-checks between the key tables, so a slip in transcribing one row shows
// up as a disagreement with another table.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "model/KeyTables.h"

namespace orvane {
namespace {

TEST(KeyTable, ListedRowsSitAtTheirScanCodesIndex) {
    ASSERT_GT(ListedKeyRowCount(), 0u);
    int previous = -1;
    for (size_t n = 0; n < ListedKeyRowCount(); ++n) {
        uint8_t index = 0;
        ScanCode code = 0;
        ASSERT_TRUE(ListedKeyRowAt(n, &index, &code));
        EXPECT_GT(index, previous) << "listing out of order at row " << n;
        previous = index;
        EXPECT_EQ(IndexToScanCode(index), code) << std::hex << "index " << int(index);
        EXPECT_EQ(ScanCodeToIndex(code), index) << std::hex << "scan " << code;
        EXPECT_FALSE(IsEmptyKeyRow(index));
    }
    EXPECT_FALSE(ListedKeyRowAt(ListedKeyRowCount(), nullptr, nullptr));

    // Index 0 stands for "no key" and for codes beyond the table.
    EXPECT_TRUE(IsEmptyKeyRow(0));
    for (unsigned i = 0; i < kKeyTableSize; ++i) {
        const KeyTableRow& row = KeyTableRowAt(static_cast<uint8_t>(i));
        if (row.keyId != kKeyIdNone) continue;
        EXPECT_EQ(row.vk, 0) << i;
        EXPECT_EQ(row.altVk, 0) << i;
        EXPECT_EQ(row.usage, 0) << i;
        EXPECT_STREQ(row.textKey, "") << i;
    }
}

TEST(KeyTable, PickListIdsAreEachOnOneRowExceptRightShift) {
    std::map<uint16_t, std::vector<unsigned>> rowsById;
    for (unsigned i = 0; i < kKeyTableSize; ++i) {
        uint16_t id = KeyTableRowAt(static_cast<uint8_t>(i)).keyId;
        if (id != kKeyIdNone) rowsById[id].push_back(i);
    }
    for (uint16_t id = 0; id < kPickListKeyCount; ++id) {
        ASSERT_TRUE(rowsById.count(id)) << "no row has key id " << id;
        if (id == 0x0067) {
            EXPECT_EQ(rowsById[id], (std::vector<unsigned>{0x36, 0xB6}));
        } else {
            EXPECT_EQ(rowsById[id].size(), 1u) << "key id " << id;
        }
        // A pick-list key has a name to show in the list.
        EXPECT_STRNE(KeyTableRowAt(static_cast<uint8_t>(rowsById[id][0])).textKey, "") << id;
    }
    EXPECT_EQ(rowsById.count(0x006A), 0u);
    // Ids above the pick list are the mouse rows or carry the mark bit, once each.
    for (const auto& [id, rows] : rowsById) {
        if (id < kPickListKeyCount) continue;
        EXPECT_TRUE((id >= 0x006B && id <= 0x006F) || (id & kKeyIdMarkBit)) << std::hex << id;
        EXPECT_EQ(rows.size(), 1u) << std::hex << id;
    }
}

TEST(KeyTable, AlternativeCodesAndUsageBytesAreInRange) {
    // Only the keypad digits and point report another code without Num Lock.
    const std::set<unsigned> keypad = {0x47, 0x48, 0x49, 0x4B, 0x4C, 0x4D, 0x4F, 0x50, 0x51, 0x52, 0x53};
    for (unsigned i = 0; i < kKeyTableSize; ++i) {
        const KeyTableRow& row = KeyTableRowAt(static_cast<uint8_t>(i));
        EXPECT_EQ(row.altVk != row.vk, keypad.count(i) == 1) << std::hex << i;
        const uint8_t u = row.usage;
        const bool known = u == 0 || (u >= 0x04 && u <= 0xE7) || (u >= 0x81 && u <= 0x83) ||
                           (u >= 0xC0 && u <= 0xDF) || (u >= 0xF1 && u <= 0xF5);
        EXPECT_TRUE(known) << std::hex << "row " << i << " usage " << int(u);
    }
}

TEST(ConsumerAndMediaTables, AgreeWithTheKeyTable) {
    std::set<uint16_t> usages;
    for (size_t n = 0; n < kConsumerUsageCount; ++n) {
        uint16_t usage = ConsumerUsageAt(n);
        if (n < 18) {
            EXPECT_NE(usage, 0) << n;
            EXPECT_TRUE(usages.insert(usage).second) << "duplicate consumer usage at " << n;
        } else {
            EXPECT_EQ(usage, 0) << n;
        }
    }
    EXPECT_EQ(ConsumerUsageAt(kConsumerUsageCount), 0);

    std::set<ScanCode> codes;
    for (int m = 0; m < kMediaKeyCount; ++m) {
        const MediaKeyRow* media = MediaKeyAt(m);
        ASSERT_NE(media, nullptr);
        EXPECT_TRUE(codes.insert(media->scanCode).second) << m;
        EXPECT_EQ(MediaNumberOfScanCode(media->scanCode), m);
        // The key's usage byte must address the consumer usage sent for it.
        const KeyTableRow& key = KeyTableRowAt(ScanCodeToIndex(media->scanCode));
        ASSERT_GE(key.usage, kConsumerUsageByteBase) << m;
        EXPECT_EQ(ConsumerUsageAt(key.usage - kConsumerUsageByteBase), media->consumerUsage) << m;
        // Media text keys end with their media number + 1.
        std::string text = key.textKey;
        std::string suffix = "_" + std::to_string(m + 1);
        ASSERT_GE(text.size(), suffix.size());
        EXPECT_EQ(text.substr(0, 6), "MEDIA_") << text;
        EXPECT_EQ(text.substr(text.size() - suffix.size()), suffix) << text;
    }
    // Every filled consumer slot is one of the media functions.
    EXPECT_EQ(codes.size(), usages.size());
    EXPECT_EQ(MediaKeyAt(-1), nullptr);
    EXPECT_EQ(MediaKeyAt(kMediaKeyCount), nullptr);
    EXPECT_EQ(MediaNumberOfScanCode(0x01E), -1);
}

TEST(VkScanTable, IsTheLowestRowOfEachCodeWithTheKnownExceptions) {
    std::map<unsigned, unsigned> exceptions = {
        {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x2C, 0xB7}, {0x01, 0}, {0x02, 0},
        {0x04, 0},    {0x88, 0},    {0x89, 0},    {0x8A, 0},    {0x97, 0}, {0x98, 0},
        {0x99, 0},    {0x9A, 0},    {0x9B, 0},    {0x9E, 0},    {0x9F, 0}, {0xFF, 0},
        {0x8B, 0xD2}, {0x8C, 0xD3}, {0x9C, 0xD4}, {0x9D, 0xD5}};
    for (unsigned vk = 0; vk < 256; ++vk) {
        unsigned expected = 0;
        if (exceptions.count(vk)) {
            expected = exceptions[vk];
        } else {
            for (unsigned i = 0; i < kKeyTableSize; ++i)
                if (KeyTableRowAt(static_cast<uint8_t>(i)).vk == vk) {
                    expected = i;
                    break;
                }
        }
        EXPECT_EQ(VkToKeyIndex(static_cast<uint8_t>(vk)), expected) << std::hex << "vk " << vk;
    }
}

TEST(KeySlotTable, SlotsAndLedsCoverTheKeyboardOnce) {
    std::set<int> controls, leds;
    std::set<ScanCode> codes;
    for (int s = 0; s < kKeySlotCount; ++s) {
        const KeySlot* slot = KeySlotAt(s);
        ASSERT_NE(slot, nullptr);
        EXPECT_TRUE(controls.insert(slot->controlId).second) << "slot " << s;
        EXPECT_TRUE(codes.insert(slot->scanCode).second) << "slot " << s;
        EXPECT_TRUE(leds.insert(slot->ledIndex).second) << "slot " << s;
        EXPECT_LT(slot->ledRow, kLedRows);
        EXPECT_LT(slot->ledColumn, kLedColumns);
        EXPECT_EQ(slot->ledIndex, slot->ledRow * kLedColumns + slot->ledColumn) << "slot " << s;
        EXPECT_FALSE(IsLedWithoutKey(slot->ledIndex)) << "slot " << s;
        EXPECT_STRNE(KeyTableRowAt(ScanCodeToIndex(slot->scanCode)).textKey, "") << "slot " << s;
        EXPECT_EQ(KeySlotOfControlId(slot->controlId), s);
        EXPECT_EQ(KeySlotOfScanCode(slot->scanCode), s);
    }
    // The 106 keys, the Fn LED and the unlit positions make up the matrix exactly.
    EXPECT_FALSE(leds.count(kFnLedIndex));
    leds.insert(kFnLedIndex);
    for (unsigned led = 0; led < kLedCount; ++led)
        if (IsLedWithoutKey(static_cast<uint8_t>(led))) {
            EXPECT_TRUE(leds.insert(static_cast<int>(led)).second) << led;
        }
    EXPECT_EQ(leds.size(), kLedCount);
    EXPECT_EQ(*leds.rbegin(), static_cast<int>(kLedCount) - 1);

    // G keys and Fn are buttons of their own.
    for (int n = 1; n <= kGKeyCount; ++n) {
        uint16_t id = kGKeyControlIds[static_cast<size_t>(n - 1)];
        EXPECT_FALSE(controls.count(id)) << id;
        EXPECT_EQ(GKeyNumberOfControlId(id), n);
        EXPECT_EQ(GKeySkinName(n), "FUNC_G" + std::to_string(n));
    }
    EXPECT_FALSE(controls.count(kFnButtonControlId));
    EXPECT_EQ(GKeyNumberOfControlId(kFnButtonControlId), 0);
    EXPECT_EQ(GKeySkinName(0), "");
    EXPECT_EQ(GKeySkinName(10), "");

    EXPECT_EQ(KeySlotAt(-1), nullptr);
    EXPECT_EQ(KeySlotAt(kKeySlotCount), nullptr);
    EXPECT_EQ(KeySlotSkinName(kKeySlotCount), "");
    EXPECT_EQ(KeySlotOfControlId(1174), -1);
    EXPECT_EQ(KeySlotOfScanCode(kScanNone), -1);
}

} // namespace
} // namespace orvane
