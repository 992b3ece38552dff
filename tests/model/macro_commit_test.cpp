#include <gtest/gtest.h>

#include "macro_test_env.h"
#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "platform/Registry.h"

namespace orvane {
namespace {

MacroRecord Listed(uint16_t id, uint16_t newFlag = 0) {
    MacroRecord m;
    SetMacroName(m, u"m");
    m.id = id;
    m.newFlag = newFlag;
    return m;
}

KeyFunction MacroKey(int32_t value) {
    return KeyFunction{4, 1, value, 0, 0};
}

using MacroCommitTest = test::MacroTestEnv;

TEST_F(MacroCommitTest, CommitRepointsOrResetsMacroKeys) {
    store_.SetMacros({Listed(1), Listed(2), Listed(3)});
    store_.SetRecord(0, 0x10, MacroKey(0));                // not yet pointed: takes the first macro
    store_.SetRecord(1, 0x11, MacroKey(2));                // deleted in the editor
    store_.SetRecord(2, 0x12, MacroKey(3));                // id 3 reused by a new macro before apply
    store_.SetRecord(0, 0x13, MacroKey(0x10004));          // low 16 bits: macro 4, kept
    store_.SetRecord(0, 260, MacroKey(2));                 // a G key is reset too
    store_.SetRecord(0, 0x14, KeyFunction{2, 0, 3, 0, 0}); // not a macro record

    MacroList edited = {Listed(4), Listed(1), Listed(3, 1)};
    bool changed = false;
    ASSERT_TRUE(store_.CommitMacroList(edited, &changed, &view_));
    EXPECT_TRUE(changed);
    EXPECT_EQ(view_.changes, 1);

    EXPECT_EQ(store_.Record(0, 0x10), MacroKey(4));
    EXPECT_TRUE(store_.Record(1, 0x11).Is(KeyFunctionKind::Default));
    EXPECT_EQ(store_.Record(1, 0x11).value, 2); // only the kind changes
    EXPECT_TRUE(store_.Record(2, 0x12).Is(KeyFunctionKind::Default));
    EXPECT_EQ(store_.Record(0, 0x13), MacroKey(0x10004));
    EXPECT_TRUE(store_.Record(0, 260).Is(KeyFunctionKind::Default));
    EXPECT_EQ(store_.Record(0, 0x14), (KeyFunction{2, 0, 3, 0, 0}));

    const MacroList stored = store_.Macros();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].id, 4);
    EXPECT_EQ(stored[2].id, 3);
    for (const MacroRecord& m : stored)
        EXPECT_EQ(m.newFlag, 0);

    // The same list again changes nothing; the reused id now counts as the key's.
    store_.SetRecord(2, 0x12, MacroKey(3));
    ASSERT_TRUE(store_.CommitMacroList(store_.Macros(), &changed, &view_));
    EXPECT_FALSE(changed);
    EXPECT_EQ(view_.changes, 1);
    EXPECT_EQ(store_.Record(2, 0x12), MacroKey(3));
}

TEST_F(MacroCommitTest, EmptyListLeavesUnpointedKeysAndRefusesOverfullLists) {
    store_.SetRecord(0, 0x10, MacroKey(0));
    store_.SetRecord(0, 0x11, MacroKey(5));
    bool changed = false;
    ASSERT_TRUE(store_.CommitMacroList({}, &changed));
    EXPECT_EQ(store_.Record(0, 0x10), MacroKey(0));
    EXPECT_TRUE(store_.Record(0, 0x11).Is(KeyFunctionKind::Default));

    store_.SetRecord(0, 0x11, MacroKey(5));
    EXPECT_FALSE(store_.CommitMacroList(MacroList(101, Listed(5)), &changed));
    EXPECT_EQ(store_.Record(0, 0x11), MacroKey(5));
    EXPECT_EQ(store_.MacroCount(), 0u);
}

TEST_F(MacroCommitTest, DeletingAsksOnlyForKeysOfTheActiveProfile) {
    store_.SetRecord(1, 126, MacroKey(6));  // above the asked keys
    store_.SetRecord(1, 256, MacroKey(6));  // G key
    store_.SetRecord(0, 0x10, MacroKey(6)); // another profile
    EXPECT_TRUE(store_.IsMacroAssigned(Listed(6), 1));
    EXPECT_TRUE(prompt_.shown.empty());
    EXPECT_FALSE(store_.SendAllProfiles());

    store_.SetRecord(1, 125, MacroKey(0x20006));
    EXPECT_FALSE(store_.IsMacroAssigned(Listed(6), 1)); // answered No (the default)
    ASSERT_EQ(prompt_.shown, std::vector<std::string>{"Keys use this macro. Delete?"});
    EXPECT_EQ(prompt_.styles[0] & 0xF, MB_YESNO);
    EXPECT_EQ(prompt_.styles[0] & 0xF00, 0x100u); // No is the default button
    EXPECT_TRUE(store_.SendAllProfiles());

    prompt_.answer = IDYES;
    EXPECT_TRUE(store_.IsMacroAssigned(Listed(6), 1));
    // A macro made in the open editor never asks.
    EXPECT_TRUE(store_.IsMacroAssigned(Listed(6, 1), 1));
    EXPECT_EQ(prompt_.shown.size(), 2u);

    // With the active profile unknown every profile counts.
    prompt_.answer = IDNO;
    store_.SetSendAllProfiles(false);
    EXPECT_FALSE(store_.IsMacroAssigned(Listed(6), -1));
    EXPECT_EQ(prompt_.shown.size(), 3u);
}

TEST_F(MacroCommitTest, ListLimitsAndTheirMessages) {
    MacroList list;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(AddMacro(list, NewMacroRecord(u"m", list)));
    EXPECT_EQ(list[0].id, 1);
    EXPECT_EQ(list[99].id, 100);
    EXPECT_EQ(list[5].repeat, 1);
    EXPECT_EQ(list[5].newFlag, 1);
    EXPECT_EQ(NewMacroRecord(u"x", list).id, 0);
    EXPECT_FALSE(AddMacro(list, NewMacroRecord(u"x", list)));
    EXPECT_EQ(list.size(), 100u);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"At most 100 macros"});

    list.erase(list.begin() + 3); // id 4 is free again
    EXPECT_EQ(NewMacroRecord(u"y", list).id, 4);

    MacroRecord m = NewMacroRecord(std::u16string(300, u'n'), {});
    EXPECT_EQ(MacroName(m).size(), kMacroNameMaxChars);
    EXPECT_TRUE(AddMacroAction(m, {5, 0x1E, 7}));
    EXPECT_EQ(m.actions[0].transition, kActionPress);
    for (size_t i = 1; i < kMacroMaxActions; ++i)
        ASSERT_TRUE(AddMacroAction(m, {1, 0x1E, 1}));
    EXPECT_FALSE(AddMacroAction(m, {1, 0x30, 1}));
    EXPECT_EQ(m.actionCount, kMacroMaxActions);
    EXPECT_EQ(prompt_.shown.size(), 1u); // the 4001st goes silently

    EXPECT_EQ(CheckMacroDelay(40000), 40000u);
    EXPECT_EQ(prompt_.shown.size(), 1u);
    EXPECT_EQ(CheckMacroDelay(40001), 40000u);
    EXPECT_EQ(prompt_.shown, (std::vector<std::string>{"At most 100 macros", "At most 40000 ms"}));
}

TEST_F(MacroCommitTest, RecordDelayOptionLivesUnderTheLanguageText) {
    EXPECT_EQ(ReadRecordDelayOption(), 0);
    WriteRecordDelayOption(1);
    EXPECT_EQ(ReadRecordDelayOption(), 1);
    EXPECT_EQ(GetProfileString("PROFILES", "Record delays", ""), "1");
    WriteRecordDelayOption(7);
    EXPECT_EQ(GetProfileString("PROFILES", "Record delays", ""), "0");
    WriteProfileString("PROFILES", "Record delays", "yes");
    EXPECT_EQ(ReadRecordDelayOption(), 0);
}

TEST(MacroRecordBytes, FieldsAtTheirOffsetsAndUnknownBytesKept) {
    std::vector<uint8_t> bytes(kMacroRecordBytes);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    MacroRecord m;
    ReadMacroRecord(bytes.data(), m);
    EXPECT_EQ(m.repeat, bytes[500]);
    EXPECT_EQ(m.newFlag, bytes[502] | bytes[503] << 8);
    EXPECT_EQ(m.id, bytes[506] | bytes[507] << 8);
    EXPECT_EQ(m.actionCount, bytes[508] | bytes[509] << 8);
    EXPECT_EQ(m.actions[1].delay,
              uint32_t(bytes[520] | bytes[521] << 8 | bytes[522] << 16 | bytes[523] << 24));
    EXPECT_EQ(m.actions[3999].transition, bytes[32510] | bytes[32511] << 8);
    std::vector<uint8_t> back(kMacroRecordBytes);
    WriteMacroRecord(m, back.data());
    EXPECT_EQ(back, bytes);
    // A damaged count never reaches past the actions.
    EXPECT_LE(MacroActionCount(m), kMacroMaxActions);

    MacroList list;
    EXPECT_FALSE(ReadMacroRecords(bytes.data(), bytes.size() - 1, list));
    std::vector<uint8_t> two = bytes;
    two.insert(two.end(), bytes.begin(), bytes.end());
    ASSERT_TRUE(ReadMacroRecords(two.data(), two.size(), list));
    EXPECT_EQ(WriteMacroRecords(list), two);
}

} // namespace
} // namespace orvane
