#pragma once
// A private program folder with a small language file and a private registry
// store, plus a prompt that records what it was asked and answers from a
// script, for the key function and macro tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "services/PathTable.h"
#include "services/Prompt.h"

namespace orvane::test {

class CScriptedPrompt final : public CPrompt {
  public:
    struct Asked {
        std::string text;
        unsigned style;
    };
    std::vector<Asked> asked;
    std::deque<int> answers; // empty: IDOK / IDNO

    int MessageBox(const std::string& text, const std::string&, unsigned style) override {
        asked.push_back({text, style});
        if (!answers.empty()) {
            const int a = answers.front();
            answers.pop_front();
            return a;
        }
        return (style & 0xF) == MB_YESNO ? IDNO : IDOK;
    }
};

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

class MacroTestEnv : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvane-macros-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::filesystem::create_directories(root_ / "prog");
        std::filesystem::create_directories(root_ / "config");
        std::ofstream(root_ / "prog" / "Lang0409.ini") << kTestLanguage;
        setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        ASSERT_TRUE(BuildPathTable((root_ / "prog" / "orvane").string()));
        SetPrompt(&prompt_);
    }
    void TearDown() override {
        SetPrompt(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    CScriptedPrompt prompt_;
    std::filesystem::path root_;
};

} // namespace orvane::test
