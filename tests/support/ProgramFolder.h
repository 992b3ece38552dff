#pragma once
// A program folder of its own, which the path table points into, in a
// private home, on an English desktop: for tests that read the language file
// or the skins beside the executable.
#include <filesystem>
#include <optional>
#include <string>

#include "services/PathTable.h"
#include "support/TempDir.h"

namespace orvane::testing {

class CProgramFolder {
  public:
    CProgramFolder() {
        std::filesystem::create_directories(File("Skins"));
        built_ = BuildPathTable(File("orvane"));
        BuildUserPaths();
    }
    CProgramFolder(const CProgramFolder&) = delete;
    CProgramFolder& operator=(const CProgramFolder&) = delete;

    // False when the path table refused the folder: a test's set-up asserts it.
    bool Ok() const { return built_; }
    const CTempHome& Home() const { return home_; }
    std::string Folder() const { return home_.Dir().File("prog"); }
    std::string File(const std::string& name) const { return Folder() + "/" + name; }
    void WriteLanguage(const std::string& text, const std::string& name = "Lang0409.ini") const {
        WriteText(File(name), text);
    }

  private:
    CTempHome home_;
    CScopedEnv lang_{"LANG", "en_US.UTF-8"};
    CScopedEnv lcAll_{"LC_ALL", std::nullopt};
    CScopedEnv lcMessages_{"LC_MESSAGES", std::nullopt};
    bool built_ = false;
};

} // namespace orvane::testing
