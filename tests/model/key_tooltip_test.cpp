#include <gtest/gtest.h>

#include <map>

#include "macro_test_env.h"
#include "model/ConfigStore.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"

namespace orvane {
namespace {

KeyFunction Rec(KeyFunctionKind kind, int32_t value = 0) {
    KeyFunction r;
    r.SetKind(kind);
    r.value = value;
    return r;
}

class CButtonRecorder final : public CKeyButtonView {
  public:
    bool GKeyBankSet() const override { return bank; }
    void SetKeyButtonTooltip(int controlId, const std::string& text, bool checked) override {
        tips[controlId] = {text, checked};
        ++calls;
    }
    void MarkConfigurationChanged() override { ++changes; }

    bool bank = false;
    std::map<int, KeyTooltip> tips;
    int calls = 0;
    int changes = 0;
};

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
    CConfigStore store;
    store.InstallFresh({});
    MacroRecord m = NewMacroRecord(u"Fire", {});
    m.id = 9;
    store.SetMacros({m});
    store.SetRecord(2, 0x1E, Rec(KeyFunctionKind::Macro, 9));          // A
    store.SetRecord(2, 256 + 1, Rec(KeyFunctionKind::Disabled));       // G2
    store.SetRecord(2, 256 + 9 + 2, Rec(KeyFunctionKind::Key, 0x030)); // G12, shown as G3 in the second bank
    store.SetRecord(0, 0x01, Rec(KeyFunctionKind::Disabled));          // Esc, another profile

    CButtonRecorder view;
    RefreshKeyTooltips(view, 2, store);
    EXPECT_EQ(view.calls, kGKeyCount + kKeySlotCount);
    EXPECT_EQ(view.tips[1058].text, "A:set(macro(Fire)"); // A's button
    EXPECT_TRUE(view.tips[1058].checked);
    EXPECT_EQ(view.tips[1001].text, "G2:off");
    EXPECT_EQ(view.tips[1002].text, "G3");
    EXPECT_FALSE(view.tips[1002].checked);
    EXPECT_EQ(view.tips[1022].text, "Esc");
    EXPECT_EQ(view.tips[1143].text, "G9");

    view.bank = true;
    RefreshKeyTooltips(view, 2, store);
    EXPECT_EQ(view.tips[1001].text, "G2");
    EXPECT_EQ(view.tips[1002].text, "G3:set(key(B)");
    EXPECT_EQ(view.changes, 0);

    // An unknown profile shows profile 0.
    RefreshKeyTooltips(view, -1, store);
    EXPECT_EQ(view.tips[1022].text, "Esc:off");
}

TEST_F(KeyTooltipTest, ResetClearsOnlyTheShownKeysOfOneProfile) {
    CConfigStore store;
    store.InstallFresh({});
    const std::u16string path = u"/bin/true";
    store.StoreKeyFunction(1, 0x1E, KeyFunctionKind::Program, 0, 1, &path);
    store.SetRecord(1, 0x30, KeyFunction{2, 0, 0x1E, 1, 5});
    store.SetRecord(1, 256, Rec(KeyFunctionKind::Disabled));
    store.SetRecord(1, 265, Rec(KeyFunctionKind::Disabled));  // G10: the other bank
    store.SetRecord(1, 0x64, Rec(KeyFunctionKind::Disabled)); // F13 has no button
    store.SetRecord(0, 0x30, Rec(KeyFunctionKind::Disabled));

    CButtonRecorder view;
    ResetProfileKeys(view, 1, store);
    EXPECT_EQ(store.Record(1, 0x1E), KeyFunction{});
    EXPECT_EQ(store.Record(1, 0x30), KeyFunction{}); // mark and reserved too
    EXPECT_EQ(store.Record(1, 256), KeyFunction{});
    EXPECT_EQ(store.KeyStringTotal(), 0u);
    EXPECT_TRUE(store.Record(1, 265).Is(KeyFunctionKind::Disabled));
    EXPECT_TRUE(store.Record(1, 0x64).Is(KeyFunctionKind::Disabled));
    EXPECT_TRUE(store.Record(0, 0x30).Is(KeyFunctionKind::Disabled));
    EXPECT_EQ(view.changes, 1);
    EXPECT_EQ(view.calls, kGKeyCount + kKeySlotCount);
    EXPECT_EQ(view.tips[1058].text, "A");
    EXPECT_FALSE(view.tips[1058].checked);
}

} // namespace
} // namespace orvane
