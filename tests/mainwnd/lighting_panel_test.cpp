// The lighting panel on a plain dialog with the main skin: what each control
// sends to the keyboard, which controls each mode shows, and the refresh from
// the decoded record.
#include <cstdio>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <set>

#include "app/SkinReaders.h"
#include "device/DeviceCommands.h"
#include "device/DeviceDiscovery.h"
#include "device/ReportExchange.h"
#include "mainwnd/PictureStatic.h"
#include "model/KeyTables.h"
#include "platform/IniFile.h"
#include "services/Language.h"
#include "sim/SimFaults.h"
#include "sim/SimInstall.h"
#include "support/PanelFixture.h"
#include "support/SimFaultCases.h"
#include "transfer/LightingReadBack.h"
#include "ui/BitmapSlider.h"
#include "ui/PngButton.h"
#include "ui/SkinColorBtn.h"

namespace orvane::testing {
namespace {

// Mode 1, brightness 3, speed 2, direction 255, colourful, colour (10, 20, 30).
const std::vector<uint8_t> kRecord = {1, 3, 2, 255, 1, 10, 20, 30};

class LightingPanel : public PanelFixture {
  protected:
    void Click(int id) { QTest::mouseClick(panel->Picture(id), Qt::LeftButton); }
    void Key(int sliderId, Qt::Key key) {
        QTest::keyClick(panel->Slider(sliderId), key);
        QCoreApplication::processEvents(); // UM_SLIDER is posted
    }
    std::string PictureOf(int id) { return panel->Picture(id)->PictureName(); }
    // The numbers beside the brightness and speed sliders.
    std::string SliderValues() {
        auto text = [&](int id) { return static_cast<QLabel*>(panel->Control(id))->text().toStdString(); };
        return text(CLightingPanel::BrightnessValue) + "," + text(CLightingPanel::SpeedValue);
    }
    QPoint SkinPos(const char* key) {
        const SkinRect r = ReadSkinRect(Paths().MainSkinFile, kSectionButtons, key);
        return {r.x, r.y};
    }
};

TEST_F(LightingPanel, SlidersSendSpeedReversedAndBrightnessOnlyWhenChanged) {
    Connect(kAllModes, kRecord);
    SwitchOn();
    EXPECT_EQ(panel->Slider(1179)->Pos(), 3);
    EXPECT_EQ(panel->Slider(1178)->Pos(), 3);
    EXPECT_EQ(SliderValues(), "3,3");

    Key(1179, Qt::Key_Home); // position 0
    for (int i = 0; i < 5; ++i)
        Key(1179, Qt::Key_Right);
    EXPECT_EQ(port.Take(), (Calls{"B", "L2:5", "E", "B", "L2:4", "E", "B", "L2:3", "E", "B", "L2:2", "E", "B",
                                  "L2:1", "E", "B", "L2:0", "E"}));
    EXPECT_EQ(panel->Slider(1179)->Image().cacheKey(), panel->Bitmaps().Get("11.bmp").cacheKey());
    EXPECT_EQ(SliderValues(), "3,5");

    // A notification at the current position (a release without a move) sends nothing.
    bridge->SendMessage(UM_SLIDER, 1178, 3);
    Key(1178, Qt::Key_Right);
    Key(1178, Qt::Key_End);
    EXPECT_EQ(port.Take(), (Calls{"B", "L1:4", "E", "B", "L1:5", "E"}));
    EXPECT_EQ(panel->Slider(1178)->Image().cacheKey(), panel->Bitmaps().Get("5.bmp").cacheKey());
    EXPECT_EQ(SliderValues(), "5,5");
    // A forged position outside the slider's range is ignored.
    bridge->SendMessage(UM_SLIDER, 1178, 300);
    EXPECT_TRUE(port.Take().empty());
}

// The controls each mode shows, as the panel's users see them.
std::set<int> ExpectedShown(int mode) {
    std::set<int> shown;
    auto add = [&](std::initializer_list<int> ids, std::initializer_list<int> modes) {
        for (int m : modes)
            if (m == mode) shown.insert(ids);
    };
    add({1146, 1172, 1178, 1222}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    add({1166, 1179, 1223}, {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    add({1148, 1149, 1150}, {1, 2, 3, 12, 18});
    add({1194, 1195, 1196, 1197}, {17});
    add({1151, 1152, 1175, 1176}, {6, 16});
    add({1154, 1155, 1173, 1156}, {1, 2, 3, 5, 7, 8, 9, 10, 13, 14, 15});
    add({1159, 1160, 1161, 1162, 1163, 1164, 1165, 1198}, {20});
    if (mode == 19) shown = {1146};
    return shown;
}

TEST_F(LightingPanel, EveryModeSendsItsBytesAndShowsExactlyItsControls) {
    Connect(kAllModes, kRecord);
    SwitchOn();
    const std::set<int> colourfulModes = {1, 2, 3, 5, 7, 8, 9, 13, 14, 15};
    std::vector<int> governed;
    for (int id = 1145; id <= 1198; ++id)
        if (id != 1147 && id != 1167 && id != 1168 && id != 1169 && id != 1170 && id != 1171 && id != 1174 &&
            id != 1177 && panel->Control(id))
            governed.push_back(id);
    governed.insert(governed.end(), {CLightingPanel::BrightnessValue, CLightingPanel::SpeedValue});

    // From the end so every selection is a change, and mode 19 comes after 20.
    for (int mode = 20; mode >= 1; --mode) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        panel->ModeCombo()->setCurrentIndex(mode - 1);
        const Calls calls = port.Take();
        if (mode == 19) {
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(lighting.Settings().mode, 20) << "the current mode stays";
        } else if (colourfulModes.count(mode)) {
            EXPECT_EQ(calls, (Calls{"B", "L0:" + std::to_string(mode), "L4:1", "E"}));
        } else {
            EXPECT_EQ(calls, (Calls{"B", "L0:" + std::to_string(mode), "E"}));
        }
        if (mode != 19) {
            EXPECT_EQ(lighting.Settings().mode, mode);
        }
        const std::set<int> expected = ExpectedShown(mode);
        for (int id : governed)
            EXPECT_EQ(Shown(id), expected.count(id) == 1) << "control " << id;
        EXPECT_EQ(Shown(1208), mode != 19);
        EXPECT_TRUE(Shown(1167)) << "the lighting switch is always reachable";
    }
}

TEST_F(LightingPanel, DirectionGroupMovesWithTheModeAndItsFirstPictureAlwaysSends) {
    Connect(kAllModes, kRecord); // direction 255
    SwitchOn();
    panel->ModeCombo()->setCurrentIndex(11); // mode 12
    EXPECT_EQ(panel->Control(1149)->pos(), SkinPos("CONTROL_BLFXLStaPic3"));
    EXPECT_EQ(PictureOf(1149), "updown.bmp");
    const QSize size = panel->Control(1150)->size();
    panel->ModeCombo()->setCurrentIndex(17); // mode 18
    EXPECT_EQ(panel->Control(1150)->pos(), SkinPos("CONTROL_BLFXRStaPic"));
    EXPECT_EQ(panel->Control(1150)->size(), size) << "moved, not resized";
    panel->ModeCombo()->setCurrentIndex(1); // mode 2
    EXPECT_EQ(panel->Control(1148)->pos(), SkinPos("CONTROL_BLFXStatic2"));
    port.Take();

    Click(1149); // already 255
    EXPECT_EQ(port.Take(), (Calls{"B", "L3:255", "E"}));
    Click(1150);
    EXPECT_EQ(port.Take(), (Calls{"B", "L3:0", "E"}));
    EXPECT_EQ(PictureOf(1149), "leftup.bmp");
    EXPECT_EQ(PictureOf(1150), "rightdown.bmp");
}

TEST_F(LightingPanel, SkippedModeSlotsLeaveNoEntryAndLaterEntriesKeepTheirModes) {
    Connect({3, 0, 25, 12, 21, 20}, {12, 0, 0, 0});
    ASSERT_EQ(panel->ModeCombo()->count(), 3);
    EXPECT_EQ(panel->ModeCombo()->currentIndex(), 1) << "mode 12 is selected";
    EXPECT_EQ(panel->ModeCombo()->itemText(2).toStdString(), ModeText(20));
    SwitchOn();
    panel->ModeCombo()->setCurrentIndex(2);
    EXPECT_EQ(port.Take(), (Calls{"B", "L0:20", "E"}));
    panel->ModeCombo()->setCurrentIndex(0);
    EXPECT_EQ(port.Take(), (Calls{"B", "L0:3", "L4:0", "E"}));
}

TEST_F(LightingPanel, ColourControlsTicksOptionsAndPresets) {
    Connect(kAllModes, kRecord);
    SwitchOn();
    EXPECT_EQ(PictureOf(1156), "sjsdown.bmp");
    prompt.colour = 0x332211;                 // "other" opens the platform's colour dialog
    panel->ColourPicker(1155)->ShowPalette(); // the button is named in the program's words
    ASSERT_NE(panel->ColourPicker(1155)->Palette(), nullptr);
    EXPECT_EQ(panel->ColourPicker(1155)->Palette()->findChild<QToolButton*>("other")->text(),
              "Other colour...");
    panel->ColourPicker(1155)->ChooseOther();
    QCoreApplication::processEvents(); // the choice is posted to the window
    EXPECT_EQ(port.Take(), (Calls{"B", "L4:0", "L5:17 34 51", "E"}));
    EXPECT_EQ(PictureOf(1156), "sjsup.bmp");
    EXPECT_EQ(panel->ColourPicker(1152)->GetColor(), 0x332211u);
    Click(1175);
    EXPECT_EQ(port.Take(), (Calls{"B", "L4:1", "E"}));
    EXPECT_EQ(PictureOf(1156), "sjsdown.bmp");

    Click(1196);
    EXPECT_EQ(port.Take(), (Calls{"B", "L17:2", "E"}));
    EXPECT_EQ(PictureOf(1196), "lvok.bmp");
    EXPECT_EQ(PictureOf(1194), "hong.bmp");

    Click(1212); // second preset, pure red
    EXPECT_EQ(port.Take(), (Calls{"B", "L4:0", "L5:255 0 0", "E"}));
    EXPECT_EQ(panel->RgbEdit(0)->text(), "255");
    EXPECT_EQ(panel->RgbEdit(1)->text(), "0");

    // Typing takes digits only and clamps; Enter or leaving a field applies
    // the three fields as a preset would.
    Click(1175);
    port.Take();
    QLineEdit* green = panel->RgbEdit(1);
    green->selectAll();
    QTest::keyClicks(green, "3x0-0");
    EXPECT_EQ(green->text(), "255");
    EXPECT_TRUE(port.Take().empty()) << "nothing is sent while typing";
    QTest::keyClick(green, Qt::Key_Return);
    EXPECT_EQ(port.Take(), (Calls{"B", "L4:0", "L5:255 255 0", "E"}));
    EXPECT_EQ(PictureOf(1156), "sjsup.bmp");
    EXPECT_EQ(panel->ColourPicker(1155)->GetColor(), MakeColour(255, 255, 0));
    QTest::keyClick(green, Qt::Key_Return);
    EXPECT_TRUE(port.Take().empty()) << "an unchanged entry sends nothing";
    QLineEdit* blue = panel->RgbEdit(2);
    blue->selectAll();
    QTest::keyClicks(blue, "a42");
    EXPECT_EQ(blue->text(), "42");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(blue, &leave);
    EXPECT_EQ(port.Take(), (Calls{"B", "L4:0", "L5:255 255 42", "E"}));
}

TEST_F(LightingPanel, PresetDotsShowTheColourTheyWrite) {
    Connect(kAllModes, kRecord);
    SwitchOn();
    for (int i = 0; i < kPresetColourCount; ++i) {
        SCOPED_TRACE("preset " + std::to_string(i + 1));
        QWidget* dot = panel->Control(CLightingPanel::PresetFirst + i);
        const QImage face = dot->grab().toImage();
        const QColor shown = face.pixelColor(face.width() / 2, face.height() / 2 + 4); // below the shine
        Click(CLightingPanel::PresetFirst + i);
        const Calls calls = port.Take();
        ASSERT_EQ(calls.size(), 4u);
        int r = -1, g = -1, b = -1;
        ASSERT_EQ(std::sscanf(calls[2].c_str(), "L5:%d %d %d", &r, &g, &b), 3);
        EXPECT_NEAR(shown.red(), r, 6);
        EXPECT_NEAR(shown.green(), g, 6);
        EXPECT_NEAR(shown.blue(), b, 6);
    }
}

TEST_F(LightingPanel, RgbFieldsShowTheColourPickedFromAPalette) {
    auto rgb = [&] {
        return (panel->RgbEdit(0)->text() + "," + panel->RgbEdit(1)->text() + "," + panel->RgbEdit(2)->text())
            .toStdString();
    };
    auto pick = [&](int pickerId, int cell) {
        CSkinColorBtn* picker = panel->ColourPicker(pickerId);
        picker->ShowPalette();
        ASSERT_NE(picker->Palette(), nullptr);
        auto* button = picker->Palette()->findChild<QToolButton*>("colour" + QString::number(cell));
        ASSERT_NE(button, nullptr);
        button->click();
        QCoreApplication::processEvents(); // the choice is posted to the window
    };
    auto text = [](uint32_t c) {
        return std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," +
               std::to_string((c >> 16) & 0xFF);
    };
    const auto& palette = CSkinColorBtn::PaletteColours();

    Connect(kAllModes, kRecord);
    SwitchOn();
    EXPECT_EQ(rgb(), "10,20,30");
    pick(1155, 3);
    EXPECT_EQ(rgb(), text(palette[3]));
    EXPECT_EQ(panel->ColourPicker(1152)->GetColor(), palette[3]);

    // Custom mode: the paint colour and the linked colour alike.
    panel->ModeCombo()->setCurrentIndex(panel->ModeCombo()->count() - 1);
    ASSERT_TRUE(Shown(1160));
    pick(1160, 12);
    EXPECT_EQ(rgb(), text(palette[12]));
    pick(1162, 25);
    EXPECT_EQ(rgb(), text(palette[25]));
}

TEST_F(LightingPanel, PaintModeToolsAndColourSetsPersist) {
    Connect(kAllModes, {20});
    panel->RefillColourSets();
    SwitchOn();
    EXPECT_TRUE(Shown(1198));
    EXPECT_FALSE(Shown(1179));
    ASSERT_EQ(panel->SetCombo()->count(), 3);

    Click(1165);
    EXPECT_EQ(PictureOf(1164), "user1up.bmp");
    EXPECT_EQ(PictureOf(1165), "user2down.bmp");
    EXPECT_EQ(ReadPaintSettings(0, 0).tool, 1);

    panel->SetCombo()->setCurrentIndex(2);
    EXPECT_EQ(ReadPresentSet(0), 2);
    EXPECT_EQ(port.Take(), Calls{"T"}) << "the chosen set's colours go to the keyboard";

    QLineEdit* edit = panel->SetCombo()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "Evening");
    EXPECT_EQ(ReadSetName(0, 2), "Evening");
    EXPECT_EQ(panel->SetCombo()->itemText(2), "Evening");
    EXPECT_EQ(panel->SetCombo()->count(), 3);
}

TEST_F(LightingPanel, SwitchShowsAndHidesThePanelAndIsKeptInTheSettingsFile) {
    Connect(kAllModes, kRecord);
    EXPECT_FALSE(Shown(1146));
    EXPECT_EQ(PictureOf(1167), "dengup.bmp");
    Click(1167);
    EXPECT_TRUE(Shown(1146));
    EXPECT_TRUE(Shown(1179));
    EXPECT_EQ(PictureOf(1167), "dengdown.bmp");
    EXPECT_EQ(IniReadString(home.Data() + "/zaru.ini", "KEYCOLOR", "DengCheck", ""), "1");
    Click(1167);
    EXPECT_FALSE(Shown(1146));
    EXPECT_FALSE(Shown(1208));
    EXPECT_EQ(IniReadString(home.Data() + "/zaru.ini", "KEYCOLOR", "DengCheck", ""), "0");

    panel->SetReselectActiveProfile([] { return false; });
    Click(1167);
    EXPECT_FALSE(lighting.SwitchOn()) << "not on while the keyboard's profile cannot be selected";
    EXPECT_FALSE(Shown(1146));
}

TEST_F(LightingPanel, RefreshShowsDecodedValuesWithSpeedBeyondRangeAsSpeedFive) {
    Connect(kAllModes, {6, 9, 7, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 7, 0, 3});
    EXPECT_EQ(panel->ModeCombo()->currentIndex(), 5);
    EXPECT_EQ(panel->Slider(1178)->Pos(), 5);
    EXPECT_EQ(panel->Slider(1178)->Image().cacheKey(), panel->Bitmaps().Get("5.bmp").cacheKey());
    EXPECT_EQ(SliderValues(), "5,0");
    EXPECT_EQ(panel->Slider(1179)->Pos(), 0);
    EXPECT_EQ(panel->Slider(1179)->Image().cacheKey(), panel->Bitmaps().Get("6.bmp").cacheKey());
    EXPECT_EQ(PictureOf(1197), "lanok.bmp");
    EXPECT_EQ(PictureOf(1149), "leftup.bmp");
    EXPECT_EQ(panel->ColourPicker(1152)->GetColor(), 0x030201u);
    EXPECT_TRUE(port.Take().empty()) << "a refresh sends nothing";
}

// The panel's writes go through the window's queue to the simulated keyboard,
// which fails from the first of them on in each way a keyboard can: the user
// is told once for the whole burst, and the program's copy, the controls and
// the preview keep what the keyboard holds.
TEST_F(LightingPanel, ARefusedBurstIsToldOnceAndLeavesWhatTheKeyboardHolds) {
    CSimKeyboard& sim = InstallSimulatedKeyboard(128);
    ASSERT_TRUE(OpenCommandInterface(g_HidDevice));
    QueueWrites();
    port.forward = &DeviceLightingPort();
    ASSERT_EQ(ReadLightingRecords(lighting), DEV_OK);
    panel->RefreshLightingPanel();
    SwitchOn();
    const auto keyboard = [&] { return sim.WithFirmware([](CSimFirmware& f) { return f.Lighting; }); };
    const auto held = keyboard();
    const CLightingSettings kept = lighting.Settings();
    auto settle = [&] { return QTest::qWaitFor([&] { return !lighting.ChangesOutstanding(); }, 30000); };
    // A preset, then a drag over three positions while the preset is still
    // on its way.
    auto burst = [&] {
        port.Hold();
        Click(1212);
        port.WaitUntilHeld();
        Key(1178, Qt::Key_Home);
        Key(1178, Qt::Key_Right);
        Key(1178, Qt::Key_Right);
        port.Release();
        ASSERT_TRUE(settle());
    };

    for (const SimFaultCase& fault : kRequestFaults) {
        SCOPED_TRACE(fault.name);
        sim.AddFault({fault.kind, sim.RequestCount() + 1, UINT32_MAX, 0xFF});
        ASSERT_NO_FATAL_FAILURE(burst());
        sim.ClearFaults();
        EXPECT_EQ(prompt.shown, std::vector<std::string>{LightText("WRITE_REFUSED")});
        prompt.shown.clear();
        ASSERT_EQ(keyboard(), held);
        EXPECT_EQ(lighting.LightingArea(), held);
        EXPECT_EQ(lighting.Settings().brightness, kept.brightness);
        EXPECT_EQ(panel->Slider(1178)->Pos(), std::min<int>(kept.brightness, 5));
        EXPECT_EQ(panel->ColourPicker(1155)->GetColor(), kept.pickerColour);
        EXPECT_EQ(panel->RgbEdit(0)->text().toInt(), RedOf(kept.previewColour));
        EXPECT_EQ(PictureOf(1156), kept.colourful ? "sjsdown.bmp" : "sjsup.bmp");
        const PreviewParams preview = lighting.CurrentPreviewParams();
        EXPECT_EQ(preview.colour, kept.previewColour);
        EXPECT_EQ(preview.colourful, kept.colourful != 0);
    }

    // Taken, the same burst reaches the copy and the preview, and nobody is bothered.
    ASSERT_NO_FATAL_FAILURE(burst());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(lighting.Settings().brightness, 2);
    EXPECT_EQ(lighting.CurrentPreviewParams().colour, kPresetColours[1]);
    EXPECT_EQ(lighting.LightingArea(), keyboard());
}

class CRecordingHost : public CLightingHost {
  public:
    bool ReselectActiveProfile() override { return true; }
    void ShowSwitchImage(bool on) override { log += on ? "on;" : "off;"; }
    void ShowPanelControls(int mode) override { log += "mode " + std::to_string(mode) + ";"; }
    void HidePanelControls() override { log += "hide;"; }
    void RefreshKeyTooltips() override { log += "tips;"; }
    std::string log;
};

TEST_F(LightingPanel, ReportRateButtonsAndTheWindowAsLightingHost) {
    std::array<CPngButton*, 4> rate{};
    for (int i = 0; i < 4; ++i)
        rate[static_cast<size_t>(i)] = new CPngButton(dialog.get(), i ? 1167 + i : 1147);
    panel->SetReportRateButtons(rate);
    Connect(kAllModes, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}); // option A beyond 3 reads as 3
    EXPECT_TRUE(rate[3]->IsChecked());
    panel->OnCommand(1168);
    EXPECT_EQ(port.Take(), (Calls{"B", "L15:1", "E"}));
    EXPECT_TRUE(rate[1]->IsChecked());
    EXPECT_FALSE(rate[3]->IsChecked());

    CRecordingHost host;
    panel->SetLightingHost(&host);
    panel->OnCommand(1167);
    panel->TurnLightingSwitchOff();
    EXPECT_EQ(host.log, "on;mode 1;off;tips;hide;");
}

} // namespace
} // namespace orvane::testing
