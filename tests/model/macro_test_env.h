#pragma once
// A private program folder with a small language file and a private registry
// store, a prompt that answers from a script, a fresh configuration and the
// key buttons it shows, for the key function and macro tests.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/ConfigStore.h"
#include "model/KeyTooltip.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedPrompt.h"

namespace orvane::test {

// Texts the tests look for, so a wrong key shows as a wrong text.
inline const char* kTestLanguage = R"([TEXT]
KEY_PROMPT_SET=:set(
KEY_PROMPT_SINGLE=key(
KEY_PROMPT_MOUSE=mouse(
KEY_PROMPT_DISABLED=:off
KEY_PROMPT_MACRO=macro(
KEY_PROMPT_MEDIA=media(
KEY_PROMPT_FUNCTION=function(
FUNC_KEY_DESC1=Fn one
FUNC_KEY_DESC11=Fn eleven
IDS_KEYBOARD_A=A
IDS_KEYBOARD_B=B
IDS_KEYBOARD_MOU_RIGHT=Right
IDS_KEYBOARD_ROLL_DOWN=Down
IDS_KEYBOARD_ESC=Esc
IDS_KEYBOARD_LCTRL=Ctrl
MEDIA_V_ADD_7=Volume up
MEDIA_PALYER_1=Player
UNKNOWN_KEY=Key %X
MACRO_ERR_MAX=At most %d macros
MACRO_ACTION_ERR_DELAY_MAX=At most %d ms
MACRO_DELETE_CONFIRM_OF_KEYS=Keys use this macro. Delete?
MACRO_ACTION_RECORD_DELAY=Record delays
)";

// A record of `kind` with `value` (and `aux`).
inline KeyFunction Rec(KeyFunctionKind kind, int32_t value = 0, uint16_t aux = 0) {
    KeyFunction r;
    r.SetKind(kind);
    r.value = value;
    r.aux = aux;
    return r;
}

// The key buttons: the tooltip each shows and how often the view was told
// that the configuration changed.
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

class MacroTestEnv : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program_.Ok());
        program_.WriteLanguage(kTestLanguage);
        SetPrompt(&prompt_);
        store_.InstallFresh({});
    }
    void TearDown() override { SetPrompt(nullptr); }

    testing::CProgramFolder program_;
    testing::CScriptedPrompt prompt_;
    CConfigStore store_;
    CButtonRecorder view_;
};

} // namespace orvane::test
