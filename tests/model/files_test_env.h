#pragma once
// A private program folder (language file, user data template) and a private
// per-user data folder, a prompt that records what it was shown, and a way
// to run a write without write access to its folder, for the user data and
// profile file tests.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>

#include "platform/WriteResult.h"
#include "support/PermissionsApply.h"
#include "support/ProgramFolder.h"
#include "support/RecordingPrompt.h"

namespace orvane::test {

using testing::CRecordingPrompt;
using testing::ReadText;
using testing::WriteText;

inline const char* kFilesTestLanguage = "[TEXT]\n"
                                        "PROFILE_FORMAT_ERROR=Bad profile: %s\n"
                                        "MAIN_PROMPT_INPORT=Import failed\n"
                                        "FILE_SAVE_FAILED=Not saved: %s\n"
                                        "FILE_SAVE_REASON=Why: %s\n";

// The message a file that could not be written gives, as the test language words it.
inline std::string NotSavedText(const std::string& path, int error) {
    return "Not saved: " + path + "\nWhy: " + WriteFailed(path, error).Reason();
}

inline const char* kTemplateText = "[PRESENTMODE]\nmode=1\n\n[MODENAME]\n0=Ember\n1=Glacier\n2=Day\n\n"
                                   "[Mode1]\n16=1,2,3,0\ntool=1\njcolor=9,8,7\ncolor=4,5,6\n";

class FilesTestEnv : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program_.Ok());
        program_.WriteLanguage(kFilesTestLanguage);
        SetPrompt(&prompt_);
    }

    std::string UserFolder() const { return home_.Data() + "/Brislane"; }
    std::string TemplatePath() const { return program_.File("Skins/UserDengColor_3.userd"); }
    void WriteTemplate(const std::string& text = kTemplateText) { testing::WriteText(TemplatePath(), text); }

    // Runs `write` unable to create files in `folder`, made read-only;
    // returns what `write` returned.
    static int WithoutWriteAccess(const std::string& folder, const std::function<int()>& write) {
        ::chmod(folder.c_str(), 0555);
        int r = 0;
        {
            testing::CPermissionsApply obeyed;
            r = write();
        }
        ::chmod(folder.c_str(), 0755);
        return r;
    }

    testing::CProgramFolder program_;
    const testing::CTempHome& home_ = program_.Home();
    CRecordingPrompt prompt_; // leaves its place as the prompt when it goes
};

} // namespace orvane::test
