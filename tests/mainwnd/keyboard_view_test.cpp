// The keyboard picture: what a click on each kind of button does with the
// lighting switch on and off, the editing look while the key dialog runs, the
// G-key marks, and the preview on the buttons.
#include <functional>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "device/DefaultKeyMatrix.h"
#include "device/ReportExchange.h"
#include "dialogs/DlgComposite.h"
#include "dialogs/OpenComposite.h"
#include "mainwnd/PictureStatic.h"
#include "model/ConfigStore.h"
#include "model/KeyFunction.h"
#include "model/KeyTables.h"
#include "model/KeyTooltip.h"
#include "platform/CriticalSections.h"
#include "services/Language.h"
#include "support/PanelFixture.h"
#include "ui/PngButton.h"

namespace orvane::testing {
namespace {

class KeyboardView : public PanelFixture {
  protected:
    void SetUp() override {
        PanelFixture::SetUp();
        keys->SetCompositeRunner([this](const CompositeRequest& r) {
            requests.push_back(r);
            // While the dialog runs, the key wears the editing look.
            editingFace = keys->Button(r.buttonId)->Face(FACE_NORMAL);
        });
    }
    void Click(int id) { QTest::mouseClick(keys->Button(id), Qt::LeftButton); }
    std::vector<CompositeRequest> requests;
    const CSkinFace* editingFace = nullptr;
};

TEST_F(KeyboardView, SwitchOffKeysOpenTheDialogWithTheEditingLookButFnAndStandInsDoNot) {
    Connect(kAllModes, {1});
    const KeySlot* a = KeySlotAt(0);
    CPngButton* button = keys->Button(a->controlId);
    const CSkinFace* normal = button->Face(FACE_NORMAL);
    Click(a->controlId);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].keyIndex, ScanCodeToIndex(a->scanCode));
    EXPECT_FALSE(requests[0].macroOnly);
    EXPECT_EQ(editingFace, faces->Face(MAIN_OVER));
    EXPECT_EQ(button->Face(FACE_NORMAL), normal) << "the key's own faces come back";
    EXPECT_EQ(keys->EditingButton(), -1);

    Click(CKeyboardView::kFnButtonId);
    EXPECT_EQ(keys->OpenCompositeForButton(1016), -1);
    EXPECT_EQ(keys->OpenCompositeForButton(1057), -1);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(KeyboardView, GKeysAndTheMacroButtonOpenTheDialogWhateverTheSwitch) {
    Connect(kAllModes, {1});
    SwitchOn();
    Click(KeySlotAt(5)->controlId); // mode 1: a key click does nothing
    EXPECT_TRUE(requests.empty());
    Click(1001);
    keys->SetGKeyBank(true);
    Click(1140);
    Click(1143);
    keys->OnMacroButton();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].keyIndex, 257);
    EXPECT_EQ(requests[1].keyIndex, 256 + 5 + 9);
    EXPECT_TRUE(requests[2].macroOnly);
    EXPECT_TRUE(requests[3].macroOnly);
    EXPECT_EQ(requests[3].buttonId, 1143);
    EXPECT_TRUE(port.Take().empty());
}

TEST_F(KeyboardView, PaintingInModeTwentyColoursOnlyKeysWithAnLed) {
    Connect(kAllModes, {20});
    SwitchOn();
    lighting.SetPaintSettings(0, 0x00FF00, 0x0000FF); // tool 0 paints the own colour, red
    const KeySlot* q = KeySlotAt(16);
    Click(q->controlId);
    Click(CKeyboardView::kFnButtonId);
    Click(1016);
    EXPECT_EQ(port.Take(),
              (Calls{"B", "K" + std::to_string(q->ledIndex) + ":255 0 0", "E", "B", "K110:255 0 0", "E"}));
    EXPECT_TRUE(keys->Button(q->controlId)->OutlineOn());
    EXPECT_EQ(keys->Button(q->controlId)->OutlineColour(), 0x0000FFu);
    EXPECT_EQ(ReadKeyColour(0, 0, q->ledIndex), (KeyColourEntry{0x0000FF, 0}));
    EXPECT_TRUE(requests.empty());

    // The list showing another mode than the one in force (19) paints nothing.
    panel->ModeCombo()->setCurrentIndex(18);
    port.Take();
    Click(q->controlId);
    EXPECT_TRUE(port.Take().empty());
    panel->ModeCombo()->setCurrentIndex(19);
    port.Take();

    // Through the window's queue the click returns while the keyboard is still
    // busy with the write, and the key changes only once the keyboard has
    // answered: refused, it is neither shown nor kept, and the user is told once.
    QueueWrites();
    const KeySlot* w = KeySlotAt(17);
    const uint32_t shown = keys->Button(w->controlId)->OutlineColour();
    const Colour held = lighting.KeyColour(0, w->ledIndex);
    const KeyColourEntry stored = ReadKeyColour(0, 0, w->ledIndex);
    auto paint = [&] {
        port.Hold();
        Click(w->controlId);
        port.WaitUntilHeld();
        EXPECT_EQ(keys->Button(w->controlId)->OutlineColour(), shown);
        port.Release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !queue->Busy(); }, 30000));
    };
    port.Refuse("K");
    ASSERT_NO_FATAL_FAILURE(paint());
    EXPECT_EQ(prompt.shown, std::vector<std::string>{LightText("WRITE_REFUSED")});
    EXPECT_EQ(keys->Button(w->controlId)->OutlineColour(), shown);
    EXPECT_EQ(lighting.KeyColour(0, w->ledIndex), held);
    EXPECT_EQ(ReadKeyColour(0, 0, w->ledIndex), stored);
    port.Refuse("");
    ASSERT_NO_FATAL_FAILURE(paint());
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(keys->Button(w->controlId)->OutlineColour(), 0x0000FFu);
    EXPECT_EQ(ReadKeyColour(0, 0, w->ledIndex), (KeyColourEntry{0x0000FF, 0}));
}

TEST_F(KeyboardView, LedMessageMarksAssignedGKeysAndClearPreviewUnmarksEverything) {
    {
        std::lock_guard lock(ConfigStoreLock());
        g_ConfigStore.InstallFresh(ProfileHeader{});
        KeyFunction record;
        record.SetKind(KeyFunctionKind::Media);
        g_ConfigStore.SetRecord(0, GKeyButtonIndex(2, false), record);
    }
    keys->OnLedMessage(0x4C45); // another tag
    EXPECT_FALSE(keys->Button(1002)->IsChecked());
    keys->OnLedMessage(TAG_LED);
    EXPECT_TRUE(keys->Button(1002)->IsChecked());
    EXPECT_FALSE(keys->Button(1001)->IsChecked());

    keys->SetKeyLight({KeyButtonKind::Fn, 0}, 0x123456, true);
    keys->ClearPreview();
    EXPECT_FALSE(keys->Button(1002)->IsChecked());
    EXPECT_FALSE(keys->Button(CKeyboardView::kFnButtonId)->OutlineOn());
    std::lock_guard lock(ConfigStoreLock());
    g_ConfigStore.ReleaseWorking();
}

TEST_F(KeyboardView, ClearAndDisableInTheKeyDialogShowOnTheKeyAtOnceAndDisableReachesTheMatrix) {
    {
        std::lock_guard lock(ConfigStoreLock());
        g_ConfigStore.InstallFresh(ProfileHeader{});
    }
    SetActiveProfileCache(0);
    const KeySlot* a = KeySlotAt(KeySlotOfScanCode(0x1E));
    CPngButton* button = keys->Button(a->controlId);
    // The real dialog, answered by `act` once it is up, then OK.
    auto edit = [&](std::function<void(Orvane_DlgComposite&)> act) {
        keys->SetCompositeRunner([&](const CompositeRequest& r) {
            QTimer::singleShot(0, [&] {
                Orvane_DlgComposite* d = OpenCompositeDialog();
                ASSERT_NE(d, nullptr);
                act(*d);
                d->OnCommand(IDOK);
            });
            ::orvane::OpenCompositeForButton(*keys, r.buttonId);
        });
        keys->OpenCompositeForButton(a->controlId);
    };
    g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Key, 0x30);
    RefreshKeyTooltips(*keys, 0, g_ConfigStore);
    EXPECT_TRUE(button->IsChecked());

    edit([](Orvane_DlgComposite& d) { d.OnCommand(1032); }); // Clear
    EXPECT_EQ(button->TooltipText().toStdString(), GetKeyName(0x1E));
    EXPECT_FALSE(button->IsChecked()) << "the key shows its own function at once";

    edit([](Orvane_DlgComposite& d) { static_cast<QCheckBox*>(d.Control(kDisableBoxId))->click(); });
    EXPECT_EQ(g_ConfigStore.Record(0, 0x1E).kind, static_cast<uint16_t>(KeyFunctionKind::Disabled));
    EXPECT_EQ(button->TooltipText().toStdString(), GetKeyName(0x1E) + Text("KEY_PROMPT_DISABLED"));
    EXPECT_TRUE(button->IsChecked());
    // Reopened, the box is ticked; the matrix Apply sends carries no code for the key.
    edit([](Orvane_DlgComposite& d) {
        EXPECT_TRUE(static_cast<QCheckBox*>(d.Control(kDisableBoxId))->isChecked());
        EXPECT_EQ(d.TabKind(), TAB_DISABLED);
    });
    ASSERT_EQ(g_ConfigStore.Commit(), 1);
    const KeyMatrixBuffer& factory = BuiltInDefaultKeyMatrix();
    const std::vector<uint8_t> matrix = g_ConfigStore.BuildKeyMatrix(0, factory.data(), factory.size(), 128);
    bool found = false;
    for (size_t p = 0; p + 2 < matrix.size(); p += 3)
        if (DeviceKeyCodeToScanCode(factory[p], factory[p + 1], factory[p + 2]) == 0x1E) {
            found = true;
            EXPECT_EQ((DeviceKeyCode{matrix[p], matrix[p + 1], matrix[p + 2]}), (DeviceKeyCode{0, 0, 0}));
        }
    EXPECT_TRUE(found);
    SetActiveProfileCache(-1);
    std::lock_guard lock(ConfigStoreLock());
    g_ConfigStore.ReleaseWorking();
}

TEST_F(KeyboardView, PreviewRepaintsOnlyButtonsWhoseLightChanged) {
    Connect(kAllModes, {6, 5, 2, 0, 0, 200, 100, 50}); // static single colour, full brightness
    keys->PreviewFrame();
    EXPECT_EQ(keys->RepaintCount(), 0u) << "nothing while the switch is off";
    SwitchOn();
    keys->PreviewFrame();
    const uint64_t first = keys->RepaintCount();
    EXPECT_GT(first, 100u);
    EXPECT_EQ(keys->Button(KeySlotAt(0)->controlId)->OutlineColour(), 0x3264C8u);
    keys->PreviewFrame();
    EXPECT_EQ(keys->RepaintCount(), first) << "a still frame repaints nothing";

    panel->ModeCombo()->setCurrentIndex(0); // mode 1 moves
    const uint64_t before = keys->RepaintCount();
    keys->PreviewFrame();
    keys->PreviewFrame();
    EXPECT_GT(keys->RepaintCount(), before);
}

TEST_F(KeyboardView, EveryRepaintOfALitKeyDrawsTheWholeKeyOpaque) {
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    Connect(kAllModes, {6, 5, 2, 0, 0, 200, 100, 50});
    SwitchOn();
    CPngButton* key = keys->Button(KeySlotAt(16)->controlId);
    const KeyButton lit = *CKeyboardView::KeyButtonOfControl(key->ControlId());
    for (Colour colour : {0x3264C8u, 0x00FF00u}) {
        keys->SetKeyLight(lit, colour, true);
        // A translucent window's surface is cleared before each repaint: what
        // the key leaves undrawn shows the desktop.
        QImage surface(key->size(), QImage::Format_ARGB32_Premultiplied);
        surface.fill(Qt::transparent);
        key->render(&surface, QPoint(), QRegion(), QWidget::DrawChildren);
        int transparent = 0;
        for (int y = 0; y < surface.height(); ++y)
            for (int x = 0; x < surface.width(); ++x)
                transparent += qAlpha(surface.pixel(x, y)) != 255;
        EXPECT_EQ(transparent, 0) << "after the light turned " << std::hex << colour;
    }
}

void SendMouse(QWidget* to, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

TEST_F(KeyboardView, APressOnAKeyOrAPanelPictureStaysThereAndNeverMovesTheWindow) {
    Connect(kAllModes, {20});
    dialog->show();
    CPressCounter counter;
    dialog->installEventFilter(&counter);
    QTest::mouseClick(panel->Picture(1167), Qt::LeftButton); // the lighting switch
    QTest::mouseClick(panel->Picture(1212), Qt::LeftButton); // a preset
    EXPECT_TRUE(lighting.SwitchOn());
    CPngButton* key = keys->Button(KeySlotAt(16)->controlId);
    for (QPoint at : {key->rect().center(), QPoint(0, 0), key->rect().bottomRight()})
        QTest::mouseClick(key, Qt::LeftButton, {}, at);
    EXPECT_EQ(counter.presses, 0);
    EXPECT_TRUE(key->OutlineOn());

    // A press the key passes on (here it is disabled) is not a drag either:
    // the window must not follow the pointer afterwards.
    const QPoint start = dialog->pos();
    auto dragFrom = [&](QPoint at) {
        SendMouse(dialog.get(), QEvent::MouseButtonPress, at);
        SendMouse(dialog.get(), QEvent::MouseMove, at + QPoint(40, 30));
        SendMouse(dialog.get(), QEvent::MouseButtonRelease, at + QPoint(40, 30));
    };
    key->setEnabled(false);
    dragFrom(key->geometry().center());
    EXPECT_EQ(dialog->pos(), start);

    // The bare background still drags the window.
    QPoint bare(2, 2);
    ASSERT_EQ(dialog->childAt(bare), nullptr);
    dragFrom(bare);
    EXPECT_EQ(dialog->pos(), start + QPoint(40, 30));
}

} // namespace
} // namespace orvane::testing
