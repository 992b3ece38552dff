#pragma once
// What the key-assignment dialog tests share: a program folder with the
// generated skins and the shipped language file, a clean home, a scripted
// prompt, a stand-in for the main window, and real-looking key events.
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "dialogs/CompositeWindow.h"
#include "dialogs/DlgComposite.h"
#include "model/KeyTooltip.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/TestApp.h"

namespace orvane::test {

// The main window as the dialog sees it.
class CFakeWindow final : public CCompositeWindow, public CKeyButtonView {
  public:
    QWidget parent;
    QRect buttonRect{200, 200, 40, 40};
    bool bank = false;
    std::vector<std::pair<int, bool>> editing; // (button, editing look on)
    std::map<int, std::string> tooltips;
    int changes = 0;

    QWidget* DialogParent() override { return &parent; }
    QRect ButtonScreenRect(int) override { return buttonRect; }
    void SetButtonEditing(int buttonId, bool on) override { editing.emplace_back(buttonId, on); }
    CKeyButtonView& KeyButtons() override { return *this; }
    bool GKeyBankSet() const override { return bank; }
    void SetKeyButtonTooltip(int controlId, const std::string& text, bool) override {
        tooltips[controlId] = text;
    }
    void MarkConfigurationChanged() override { ++changes; }
};

class CompositeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A dialog run for `keyIndex` (shown, not modal), as the opener sets it up.
    std::unique_ptr<Orvane_DlgComposite> Open(uint16_t keyIndex, int buttonId = 1010, bool macroOnly = false);
    // A key event with the hardware code `evdev`, sent where the window
    // system would deliver it; true when something swallowed it before the
    // dialog saw it.
    bool Key(Orvane_DlgComposite& dialog, QEvent::Type type, int evdev, bool repeat = false, int qtKey = 0);
    bool Press(Orvane_DlgComposite& dialog, int evdev) { return Key(dialog, QEvent::KeyPress, evdev); }
    QString EditText(Orvane_DlgComposite& dialog);

    // The application exists before any widget of the fixture.
    struct CApp {
        CApp() { orvane::testing::TestApp(); }
    } app_;
    std::unique_ptr<testing::CTempHome> home_;
    std::unique_ptr<testing::CTempDir> program_;
    testing::CRecordingPrompt prompt_;
    CFakeWindow window_;
};

} // namespace orvane::test
