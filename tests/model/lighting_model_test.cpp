// The lighting model against a recording port: what each change sends, the
// decoded settings, the lighting switch and per-key painting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/LightingModel.h"
#include "platform/IniFile.h"
#include "recording_lighting_host.h"
#include "services/WindowMessages.h"
#include "support/RecordingLightingPort.h"
#include "support/RecordingLink.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

namespace f = lighting_field;

using Calls = std::vector<std::string>;
using CRecordingPort = testing::CRecordingLightingPort;

class CFakeStore : public CPaintStore {
  public:
    WriteResult WriteKeyColour(int p, int s, int led, Colour c, int flag) override {
        log += "key " + std::to_string(p) + "/" + std::to_string(s) + " " + std::to_string(led) + "=" +
               std::to_string(c) + "," + std::to_string(flag) + ";";
        return Written("store");
    }
    WriteResult WritePaintSettings(int p, int s, int tool, Colour linked, Colour own,
                                   std::span<const PaintedKey> keys) override {
        ++paintWrites;
        log += "paint " + std::to_string(p) + "/" + std::to_string(s) + " " + std::to_string(tool) + " " +
               std::to_string(linked) + " " + std::to_string(own) + ";";
        for (const PaintedKey& k : keys)
            log += "key " + std::to_string(p) + "/" + std::to_string(s) + " " + std::to_string(k.led) + "=" +
                   std::to_string(k.colour) + "," + std::to_string(k.flag) + ";";
        return Written("store");
    }
    int paintWrites = 0;
    std::string log;
};

class LightingModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        model.SetSettingsFile(dir.File("zaru.ini"));
        model.SetPaintStore(&store);
    }

    testing::CTempDir dir;
    CRecordingPort port;
    CLightingModel model{port};
    test::CRecordingLightingHost host;
    CFakeStore store;
    CKeyLightFrame frame;
};

TEST_F(LightingModelTest, DecodesTheCurrentProfilesRecord) {
    std::array<uint8_t, kLightingAreaSize> area{};
    uint8_t* r = area.data() + 2 * kLightingRecordSize;
    r[f::Mode] = 7;
    r[f::Brightness] = 4;
    r[f::Speed] = 2;
    r[f::Direction] = 255;
    r[f::Colourful] = 9;
    r[f::Colour] = 10;
    r[f::Colour + 1] = 20;
    r[f::Colour + 2] = 30;
    r[f::OptionA] = 7;
    r[f::OptionB] = 2;
    r[f::Mode7Flag] = 1;
    r[f::OptionC] = 2; // out of range: option C keeps its value
    r[f::SecondColour] = 1;
    r[f::SecondColourFlag] = 5;
    r[f::ThirdColour + 2] = 3;
    area[f::Mode] = 3; // profile 0's record must not be taken
    model.SetLightingArea(area);
    model.Settings().optionC = 1;
    port.profile = 2;
    ASSERT_TRUE(model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn));
    const CLightingSettings& s = model.Settings();
    EXPECT_EQ(s.mode, 7);
    EXPECT_EQ(s.brightness, 4);
    EXPECT_EQ(s.speed, 2);
    EXPECT_EQ(s.direction, 255);
    EXPECT_EQ(s.colourful, 1);
    EXPECT_EQ(s.previewColour, MakeColour(10, 20, 30));
    EXPECT_EQ(s.pickerColour, s.previewColour);
    EXPECT_EQ(s.staticPickerColour, s.previewColour);
    EXPECT_EQ(s.optionA, 3);
    EXPECT_EQ(s.optionB, 2);
    EXPECT_EQ(s.mode7Flag, 1);
    EXPECT_EQ(s.optionC, 1);
    EXPECT_EQ(s.secondColour, MakeColour(1, 0, 0));
    EXPECT_EQ(s.secondColourFlag, 1);
    EXPECT_EQ(s.thirdColour, MakeColour(0, 0, 3));
    EXPECT_EQ(s.thirdColourFlag, 0);

    // The mode-7 flag is only read in mode 7.
    r[f::Mode] = 8;
    r[f::Mode7Flag] = 0;
    model.SetLightingArea(area);
    model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    EXPECT_EQ(model.Settings().mode7Flag, 1);

    port.profile = 3;
    EXPECT_FALSE(model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn));
    EXPECT_TRUE(port.calls.empty()); // decoding sends nothing
}

TEST_F(LightingModelTest, SwitchFollowsTheSettingsFile) {
    const std::string ini = model.SettingsFile();
    model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    EXPECT_FALSE(model.SwitchOn());
    IniWriteString(ini, "KEYCOLOR", "DengCheck", "1");
    model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    EXPECT_TRUE(model.SwitchOn());
    IniWriteString(ini, "KEYCOLOR", "DengCheck", "yes");
    model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
    EXPECT_TRUE(model.SwitchOn()); // left as it was
    model.DecodeCurrentProfile(SwitchFromSettings::ExactlyStored);
    EXPECT_FALSE(model.SwitchOn());
}

TEST_F(LightingModelTest, EachChangeSendsOnlyItsBytesInOneBracket) {
    port.profile = 1;
    const int base = 42;
    model.ChangeBrightness(3);
    EXPECT_EQ(port.Take(), (Calls{"B", "L43:3", "E"}));
    model.ChangeBrightness(3);
    EXPECT_TRUE(port.Take().empty()); // unchanged: nothing sent
    model.ChangeSpeed(5);
    EXPECT_EQ(port.Take(), (Calls{"B", "L44:5", "E"}));
    model.ChangeDirection(255);
    model.ChangeDirection(255); // the direction buttons always send
    EXPECT_EQ(port.Take(), (Calls{"B", "L45:255", "E", "B", "L45:255", "E"}));
    model.ToggleColourful(false);
    model.ChooseColour(MakeColour(1, 2, 3), false);
    EXPECT_EQ(port.Take(), (Calls{"B", "L46:1", "E", "B", "L46:0", "L47:1 2 3", "E"}));
    EXPECT_EQ(model.Settings().previewColour, MakeColour(1, 2, 3));
    model.ChangeOptionA(2);
    model.ChangeOptionB(3);
    EXPECT_EQ(port.Take(), (Calls{"B", "L57:2", "E", "B", "L59:3", "E"}));
    EXPECT_EQ(model.ChangeOptionA(4), 0);
    EXPECT_TRUE(port.Take().empty());

    // The in-memory copy of the record follows; other profiles are untouched.
    const auto& area = model.LightingArea();
    EXPECT_EQ(area[base + 1], 3);
    EXPECT_EQ(area[base + 5], 1);
    EXPECT_EQ(area[base + 7], 3);
    for (size_t i = 0; i < kLightingRecordSize; ++i)
        EXPECT_EQ(area[i], 0) << i;
}

// Only what the keyboard acknowledged enters the program's copy; the first
// refusal is the change's result, and it reaches the burst listener once.
TEST_F(LightingModelTest, ARefusedCommandLeavesTheCopyAsTheKeyboardTookIt) {
    struct Case {
        const char* refused;
        Calls sent;
        bool colourfulTaken, colourTaken;
    };
    const Case cases[] = {
        {"B", {"B"}, false, false},
        {"L4:", {"B", "L4:0", "E"}, false, false},
        {"L5:", {"B", "L4:0", "L5:1 2 3", "E"}, true, false},
        {"E", {"B", "L4:0", "L5:1 2 3", "E"}, true, true}, // acknowledged before the end was refused
    };
    std::vector<int> bursts;
    model.SetBurstListener([&](int status) { bursts.push_back(status); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused);
        std::array<uint8_t, kLightingAreaSize> area{};
        area[f::Colourful] = 1;
        model.SetLightingArea(area);
        model.DecodeCurrentProfile(SwitchFromSettings::OnlyTurnOn);
        port.Refuse(c.refused);
        bursts.clear();
        EXPECT_EQ(model.ChooseColour(MakeColour(1, 2, 3), false), -103);
        EXPECT_EQ(port.Take(), c.sent);
        EXPECT_EQ(model.LightingArea()[f::Colourful], c.colourfulTaken ? 0 : 1);
        EXPECT_EQ(model.LightingArea()[f::Colour], c.colourTaken ? 1 : 0);
        EXPECT_EQ(model.Settings().colourful, c.colourfulTaken ? 0 : 1);
        EXPECT_EQ(model.Settings().previewColour, c.colourTaken ? MakeColour(1, 2, 3) : 0);
        EXPECT_EQ(model.Wanted().previewColour, model.Settings().previewColour) << "nothing is on its way";
        EXPECT_EQ(bursts, std::vector<int>{-103});
    }
}

TEST_F(LightingModelTest, ModeChangeSendsTheFieldsOfItsGroup) {
    model.Settings().colourful = 1;
    model.ChangeMode(13, frame);
    EXPECT_EQ(port.Take(), (Calls{"B", "L0:13", "L4:1", "E"}));
    model.ChangeMode(16, frame);
    EXPECT_EQ(port.Take(), (Calls{"B", "L0:16", "E"}));
    model.ChangeMode(19, frame);
    EXPECT_TRUE(port.Take().empty());
    EXPECT_EQ(model.Settings().mode, 19);
    EXPECT_TRUE(model.Preview().IsStale());

    // Mode 20 shows the per-key colours, Fn and G keys included.
    model.SetKeyColour(0, kLedOfFn, MakeColour(9, 9, 9));
    model.SetKeyColour(0, kLedOfGKeys, MakeColour(8, 8, 8));
    model.SetKeyColour(0, 64, MakeColour(7, 7, 7)); // the A key
    model.ChangeMode(20, frame);
    EXPECT_EQ(port.Take(), (Calls{"B", "L0:20", "E"}));
    EXPECT_EQ(frame.At({KeyButtonKind::Fn, 0}).colour, MakeColour(9, 9, 9));
    EXPECT_EQ(frame.At({KeyButtonKind::GKey, 8}).colour, MakeColour(8, 8, 8));
    EXPECT_EQ(frame.At({KeyButtonKind::Slot, pk::A}).colour, MakeColour(7, 7, 7));
}

TEST_F(LightingModelTest, PresetsWriteSingleColourAndTheColour) {
    port.profile = 2;
    model.Settings().colourful = 1;
    EXPECT_EQ(model.ApplyPresetColour(2), 1);
    EXPECT_EQ(port.Take(), (Calls{"B", "L88:0", "L89:0 126 255", "E"}));
    EXPECT_EQ(model.Settings().colourful, 0);
    EXPECT_EQ(model.Settings().previewColour, MakeColour(0, 126, 255));
    EXPECT_EQ(model.ApplyPresetColour(8), 0);
    EXPECT_TRUE(port.Take().empty());

    bool rewrite = false;
    EXPECT_EQ(ClampColourField("300", &rewrite), 255);
    EXPECT_TRUE(rewrite);
    EXPECT_EQ(ClampColourField("255", &rewrite), 255);
    EXPECT_FALSE(rewrite);
    EXPECT_EQ(ClampColourField("99999999999999999999", &rewrite), 255);
    EXPECT_TRUE(rewrite);
    EXPECT_EQ(ClampColourField("", &rewrite), 0);
}

TEST_F(LightingModelTest, ModeListSkipsEmptyAndUnknownSlots) {
    const uint8_t slots[32] = {1, 0, 21, 20, 5, 255, 3};
    model.SetDeviceModes(slots);
    const CModeList& list = model.Modes();
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ModeAt(0), 1);
    EXPECT_EQ(list.ModeAt(1), 20);
    EXPECT_EQ(list.ModeAt(3), 3);
    EXPECT_EQ(list.ModeAt(4), -1);
    EXPECT_EQ(list.PositionOf(5), 2);
    EXPECT_EQ(list.PositionOf(21), -1);
    EXPECT_TRUE(list.Offers(20));
}

TEST_F(LightingModelTest, SwitchingOnNeedsTheProfileReselected) {
    const std::string ini = model.SettingsFile();
    model.Settings().mode = 6;
    host.selectSucceeds = false;
    model.SetLightingSwitch(true, host, frame);
    EXPECT_FALSE(model.SwitchOn());
    EXPECT_EQ(host.log, "select;");
    EXPECT_EQ(IniReadString(ini, "KEYCOLOR", "DengCheck", "missing"), "missing");

    host.selectSucceeds = true;
    host.log.clear();
    model.SetLightingSwitch(true, host, frame);
    EXPECT_TRUE(model.SwitchOn());
    EXPECT_EQ(host.log, "select;image-on;panel-6;");
    EXPECT_EQ(IniReadString(ini, "KEYCOLOR", "DengCheck", ""), "1");

    // The timer draws only while the switch is on, and always restarts.
    testing::CRecordingLink link;
    model.OnPreviewTimer(link, frame);
    EXPECT_EQ(frame.LitCount(), 107);
    EXPECT_EQ(link.Events(), (Calls{"kill 1052", "timer 1052 50"}));

    host.log.clear();
    model.SetLightingSwitch(false, host, frame);
    EXPECT_FALSE(model.SwitchOn());
    EXPECT_EQ(frame.LitCount(), 0);
    EXPECT_EQ(host.log, "image-off;tooltips;panel-hidden;");
    EXPECT_EQ(IniReadString(ini, "KEYCOLOR", "DengCheck", ""), "0");
    const uint64_t sets = frame.SetCount();
    model.OnPreviewTimer(link, frame);
    EXPECT_EQ(frame.SetCount(), sets);
    EXPECT_EQ(link.Events(), (Calls{"kill 1052", "timer 1052 50", "kill 1052", "timer 1052 50"}));
}

TEST_F(LightingModelTest, PaintingAKeyInModeTwenty) {
    port.profile = 1;
    model.SetColourSetInUse(1, 2);
    model.SetPaintSettings(1, MakeColour(1, 2, 3), MakeColour(4, 5, 6));
    const KeyButton a{KeyButtonKind::Slot, pk::A};
    model.Settings().mode = 20;
    EXPECT_EQ(model.PaintKey(a, frame), kLightingNothingToSend); // switch off
    model.SetLightingSwitch(true, host, frame);
    model.Settings().mode = 19;
    EXPECT_EQ(model.PaintKey(a, frame), kLightingNothingToSend); // not mode 20
    model.Settings().mode = 20;
    port.Take();
    port.Refuse("K");
    EXPECT_EQ(model.PaintKey(a, frame), -103);
    EXPECT_EQ(port.Take(), (Calls{"B", "K64:1 2 3", "E"}));
    EXPECT_EQ(model.KeyColour(1, 64), 0u) << "refused: neither shown nor kept";
    EXPECT_FALSE(frame.At(a).lit);
    EXPECT_TRUE(store.log.empty());
    port.Refuse("");

    EXPECT_EQ(model.PaintKey(a, frame), 1);
    EXPECT_EQ(port.Take(), (Calls{"B", "K64:1 2 3", "E"}));
    EXPECT_EQ(model.KeyColour(1, 64), MakeColour(1, 2, 3));
    EXPECT_EQ(model.PaintFlag(1, a), 1);
    EXPECT_EQ(frame.At(a).colour, MakeColour(1, 2, 3));
    EXPECT_TRUE(frame.At(a).lit);

    model.SelectPaintTool(0);
    EXPECT_EQ(model.PaintKey({KeyButtonKind::Fn, 0}, frame), 1);
    EXPECT_EQ(port.Take(), (Calls{"B", "K110:4 5 6", "E"}));
    EXPECT_EQ(model.PaintFlag(1, {KeyButtonKind::Fn, 0}), 0);
    EXPECT_EQ(store.log, "key 1/2 64=" + std::to_string(MakeColour(1, 2, 3)) + ",1;paint 1/2 0 " +
                             std::to_string(MakeColour(1, 2, 3)) + " " + std::to_string(MakeColour(4, 5, 6)) +
                             ";key 1/2 110=" + std::to_string(MakeColour(4, 5, 6)) + ",0;");

    model.SelectPaintTool(2);
    port.Take();
    EXPECT_EQ(model.PaintKey(a, frame), kLightingNothingToSend);
    EXPECT_TRUE(port.Take().empty());
}

TEST_F(LightingModelTest, NewLinkedColourRecoloursLinkedKeysAndSendsTheTable) {
    port.profile = 0;
    const Colour old = MakeColour(10, 0, 0), other = MakeColour(0, 0, 10), fresh = MakeColour(0, 200, 0);
    model.SetPaintSettings(1, old, other);
    for (int n = 0; n < kKeyButtonCount; ++n) {
        const KeyButton b = KeyButtonAt(n);
        model.SetKeyColour(0, CLightingModel::LedOfButton(b), old);
    }
    const KeyButton own{KeyButtonKind::Slot, pk::Q};
    model.SetKeyColour(0, CLightingModel::LedOfButton(own), other);
    model.SetKeyColour(1, 64, old); // another profile: left alone
    model.RelinkPaintFlags();
    EXPECT_EQ(model.PaintFlag(0, own), 0);
    EXPECT_EQ(model.PaintFlag(0, {KeyButtonKind::GKey, 3}), 1);

    EXPECT_EQ(model.ChangeLinkedPaintColour(old, frame), 1);
    EXPECT_TRUE(port.Take().empty()); // the same colour changes nothing

    store.log.clear();
    store.paintWrites = 0;
    // Refused, the keys, the table and the file keep the old colour.
    port.Refuse("T");
    EXPECT_EQ(model.ChangeLinkedPaintColour(fresh, frame), -103);
    EXPECT_EQ(port.Take(), Calls{"T"});
    EXPECT_EQ(model.LinkedPaintColour(), old);
    EXPECT_EQ(model.KeyColour(0, kLedOfGKeys), old);
    EXPECT_EQ(frame.At({KeyButtonKind::GKey, 0}).colour, old);
    EXPECT_EQ(store.paintWrites, 0);
    port.Refuse("");

    EXPECT_EQ(model.ChangeLinkedPaintColour(fresh, frame), 1);
    EXPECT_EQ(port.Take(), Calls{"T"});
    ASSERT_EQ(port.table.size(), kKeyColourTableSize);
    EXPECT_EQ(port.table[64 * 3 + 1], 200);
    EXPECT_EQ(port.table[kLedOfFn * 3 + 1], 200);
    EXPECT_EQ(port.table[kLedOfGKeys * 3 + 1], 200);
    EXPECT_EQ(model.KeyColour(0, CLightingModel::LedOfButton(own)), other);
    EXPECT_EQ(model.KeyColour(1, 64), old);
    EXPECT_EQ(frame.At({KeyButtonKind::GKey, 0}).colour, fresh);
    EXPECT_FALSE(frame.At(own).lit);
    // One entry per LED in the file: 105 key slots, Fn and the shared G-key LED.
    size_t entries = 0;
    for (size_t at = store.log.find("key 0/0 "); at != std::string::npos;
         at = store.log.find("key 0/0 ", at + 1))
        ++entries;
    EXPECT_EQ(entries, 107u);
    // ... all of them kept with the new colour in one write of the file.
    EXPECT_EQ(store.paintWrites, 1);
    EXPECT_EQ(store.log.rfind("paint 0/0 1 " + std::to_string(fresh), 0), 0u);
}

} // namespace
} // namespace orvane
