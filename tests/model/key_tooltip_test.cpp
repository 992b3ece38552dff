#include <gtest/gtest.h>

#include "macro_test_env.h"
#include "model/ConfigStore.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"

namespace orvane {
namespace {

using test::Rec;
using KeyTooltipTest = test::MacroTestEnv;

TEST_F(KeyTooltipTest, TextPerKind) {
    struct Row {
        KeyFunction record;
        const char* macroName;
        const char* text;
        bool checked;
    } rows[] = {
        {Rec(KeyFunctionKind::Default, 5), "", "A", false},
        {Rec(KeyFunctionKind::Disabled), "", "A:off", true},
        {Rec(KeyFunctionKind::Key, 0x030), "", "A:set(key(B)", true},
        {Rec(KeyFunctionKind::Key, 0x064), "", "A:set(key(Key 64)", true}, // F13 has no text key
        {Rec(KeyFunctionKind::Key, kScanMouseRight), "", "A:set(mouse(Right)", true},
        {Rec(KeyFunctionKind::Key, kScanWheelDown), "", "A:set(mouse(Down)", true},
        {Rec(KeyFunctionKind::Macro, 3), "Fire", "A:set(macro(Fire)", true},
        {Rec(KeyFunctionKind::Macro, 3), "", "A:set(macro()", true},
        {Rec(KeyFunctionKind::Media, 6), "", "A:set(media(Volume up)", true},
        {Rec(KeyFunctionKind::Media, 0), "", "A:set(media(Player)", true},
        {Rec(KeyFunctionKind::Function, 0), "", "A:set(function(Fn one)", true},
        {Rec(KeyFunctionKind::Function, 10), "", "A:set(function(Fn eleven)", true},
        {Rec(KeyFunctionKind::Function, 99), "", "A:set(function()", true},
        {Rec(KeyFunctionKind::Program), "", "A:set(", true},
        {Rec(KeyFunctionKind::StopMacro), "", "A:set(", true},
        {Rec(KeyFunctionKind::Text), "", "A:set(", true},
    };
    for (const Row& r : rows) {
        const KeyTooltip tip = BuildKeyTooltip("A", r.record, r.macroName);
        EXPECT_EQ(tip.text, r.text) << "kind " << r.record.kind;
        EXPECT_EQ(tip.checked, r.checked) << "kind " << r.record.kind;
    }
}

TEST_F(KeyTooltipTest, RefreshShowsTheActiveProfileAndTheGKeyBank) {
    MacroRecord m = NewMacroRecord(u"Fire", {});
    m.id = 9;
    store_.SetMacros({m});
    store_.SetRecord(2, 0x1E, Rec(KeyFunctionKind::Macro, 9));          // A
    store_.SetRecord(2, 256 + 1, Rec(KeyFunctionKind::Disabled));       // G2
    store_.SetRecord(2, 256 + 9 + 2, Rec(KeyFunctionKind::Key, 0x030)); // G12, shown as G3 in the second bank
    store_.SetRecord(0, 0x01, Rec(KeyFunctionKind::Disabled));          // Esc, another profile

    RefreshKeyTooltips(view_, 2, store_);
    EXPECT_EQ(view_.calls, kGKeyCount + kKeySlotCount);
    EXPECT_EQ(view_.tips[1058].text, "A:set(macro(Fire)"); // A's button
    EXPECT_TRUE(view_.tips[1058].checked);
    EXPECT_EQ(view_.tips[1001].text, "G2:off");
    EXPECT_EQ(view_.tips[1002].text, "G3");
    EXPECT_FALSE(view_.tips[1002].checked);
    EXPECT_EQ(view_.tips[1022].text, "Esc");
    EXPECT_EQ(view_.tips[1143].text, "G9");

    view_.bank = true;
    RefreshKeyTooltips(view_, 2, store_);
    EXPECT_EQ(view_.tips[1001].text, "G2");
    EXPECT_EQ(view_.tips[1002].text, "G3:set(key(B)");
    EXPECT_EQ(view_.changes, 0);

    // An unknown profile shows profile 0.
    RefreshKeyTooltips(view_, -1, store_);
    EXPECT_EQ(view_.tips[1022].text, "Esc:off");
}

TEST_F(KeyTooltipTest, ResetClearsOnlyTheShownKeysOfOneProfile) {
    const std::u16string path = u"/bin/true";
    store_.StoreKeyFunction(1, 0x1E, KeyFunctionKind::Program, 0, 1, &path);
    store_.SetRecord(1, 0x30, KeyFunction{2, 0, 0x1E, 1, 5});
    store_.SetRecord(1, 256, Rec(KeyFunctionKind::Disabled));
    store_.SetRecord(1, 265, Rec(KeyFunctionKind::Disabled));  // G10: the other bank
    store_.SetRecord(1, 0x64, Rec(KeyFunctionKind::Disabled)); // F13 has no button
    store_.SetRecord(0, 0x30, Rec(KeyFunctionKind::Disabled));

    ResetProfileKeys(view_, 1, store_);
    EXPECT_EQ(store_.Record(1, 0x1E), KeyFunction{});
    EXPECT_EQ(store_.Record(1, 0x30), KeyFunction{}); // mark and reserved too
    EXPECT_EQ(store_.Record(1, 256), KeyFunction{});
    EXPECT_EQ(store_.KeyStringTotal(), 0u);
    EXPECT_TRUE(store_.Record(1, 265).Is(KeyFunctionKind::Disabled));
    EXPECT_TRUE(store_.Record(1, 0x64).Is(KeyFunctionKind::Disabled));
    EXPECT_TRUE(store_.Record(0, 0x30).Is(KeyFunctionKind::Disabled));
    EXPECT_EQ(view_.changes, 1);
    EXPECT_EQ(view_.calls, kGKeyCount + kKeySlotCount);
    EXPECT_EQ(view_.tips[1058].text, "A");
    EXPECT_FALSE(view_.tips[1058].checked);
}

} // namespace
} // namespace orvane
