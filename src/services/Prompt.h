#pragma once
// Every question the program asks the user goes through here, so tests answer
// with scripted replies and orvanectl answers from its command line. The GUI
// installs an implementation built on Qt's dialogs.
#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// Message box styles and answers, with the values the system's dialogs use.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100; // the second button (No) is the default answer

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class CPrompt {
  public:
    virtual ~CPrompt() = default;
    // Shows `text`; returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // File dialogs. `filter` is "Description|*.ext|" style; empty result: cancelled.
    // A file name with wildcards in `initialPath` only names the folder to start
    // in. SaveFileName asks before a chosen file (with `defaultExt` added when it
    // has no extension) that exists is replaced. A prompt that cannot show a
    // dialog (the command line, most tests) answers cancelled.
    virtual std::optional<std::string> OpenFileName(const std::string& /*filter*/,
                                                    const std::string& /*defaultExt*/,
                                                    const std::string& /*initialPath*/) {
        return std::nullopt;
    }
    virtual std::optional<std::string> SaveFileName(const std::string& /*filter*/,
                                                    const std::string& /*defaultExt*/,
                                                    const std::string& /*initialPath*/) {
        return std::nullopt;
    }
    // Colour dialog; colours are 0x00BBGGRR. nullopt: cancelled.
    virtual std::optional<uint32_t> ChooseColour(uint32_t /*initial*/) { return std::nullopt; }
};

// The process-wide prompt. Until one is installed a quiet one answers: OK for
// a plain message, No for a question, Cancel for everything else.
CPrompt& Prompt();
void SetPrompt(CPrompt* prompt);

} // namespace orvane
