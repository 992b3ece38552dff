// Whole-configuration commands, through the same functions the program uses:
// the active profile, backup to and import from profile files, restore
// defaults, and the lighting settings as the lighting panel reads and
// writes them. They touch no per-user file: only the keyboard and the files
// named on the command line.
#include <iomanip>
#include <ostream>
#include <sstream>

#include "CtlCommand.h"
#include "device/DeviceCommands.h"
#include "DeviceCtl.h"
#include "model/LightingModel.h"
#include "model/PreviewLights.h"
#include "model/ProfileFile.h"
#include "Reasons.h"
#include "services/Prompt.h"
#include "transfer/ActiveProfile.h"
#include "transfer/DeviceInfo.h"
#include "transfer/ImportProfile.h"
#include "transfer/KeyboardBackup.h"
#include "transfer/LightingReadBack.h"
#include "transfer/RestoreDefaults.h"

namespace orvanectl {
namespace {

using namespace orvane;

// Messages go to standard error; a question is answered Yes only when the
// command line said so.
class CCtlPrompt final : public CPrompt {
  public:
    CCtlPrompt(std::ostream& err, bool yes) : m_err(err), m_yes(yes) {}
    int MessageBox(const std::string& text, const std::string&, unsigned style) override {
        m_err << "orvanectl: " << text << "\n";
        return (style & 0xF) == MB_YESNO ? (m_yes ? IDYES : IDNO) : IDOK;
    }

  private:
    std::ostream& m_err;
    bool m_yes;
};

struct ScopedPrompt {
    CCtlPrompt prompt;
    ScopedPrompt(std::ostream& err, bool yes) : prompt(err, yes) { SetPrompt(&prompt); }
    ~ScopedPrompt() { SetPrompt(nullptr); }
};

// What a connection does before the window shows the keyboard, once per
// run: the connection reads, and the active profile becomes the one shown.
void PrepareKeyboard() {
    static bool done = false;
    if (done) return;
    done = true;
    ReadConnectionInfo();
    if (const int p = GetActiveProfile(); p >= 0) SetCurrentProfile(p);
}

// "--profile P" anywhere in the arguments; removed from them. false when malformed.
bool TakeProfileOption(std::vector<std::string>& args, int* profile) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--profile") continue;
        auto p = i + 1 < args.size() ? ParseNumber(args[i + 1], PROFILE_COUNT - 1) : std::nullopt;
        if (!p) return false;
        *profile = static_cast<int>(*p);
        args.erase(args.begin() + static_cast<ptrdiff_t>(i), args.begin() + static_cast<ptrdiff_t>(i) + 2);
        return true;
    }
    return true;
}

std::string Rgb(Colour c) {
    std::ostringstream s;
    s << std::hex << std::setfill('0') << std::setw(2) << int{RedOf(c)} << std::setw(2) << int{GreenOf(c)}
      << std::setw(2) << int{BlueOf(c)};
    return s.str();
}

int RunGetProfile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) return UsageError(err, "get-profile", "");
    PrepareKeyboard();
    const int p = GetActiveProfile();
    out << "active_profile: " << p << "\n";
    return p >= 0 ? kOk : kFailed;
}

int RunSetProfile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto p = args.size() == 1 ? ParseNumber(args[0], PROFILE_COUNT - 1) : std::nullopt;
    if (!p) return UsageError(err, "set-profile", "0|1|2");
    PrepareKeyboard();
    const int r = SetActiveProfile(static_cast<int>(*p));
    if (r == DEV_OK) SetCurrentProfile(static_cast<int>(*p)); // as the profile button does
    return FinishCommand(out, r, "the keyboard did not switch profiles; it stays on the profile it had");
}

int RunBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0].empty()) return UsageError(err, "backup", "FILE");
    PrepareKeyboard();
    return FinishCommand(
        out, BackupKeyboard(args[0]),
        "the keyboard's configuration could not be read whole, or the file could not be written");
}

int RunApply(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0].empty()) return UsageError(err, "apply", "FILE");
    ScopedPrompt prompt(err, false);
    const int valid = ValidateProfileFile(args[0]);
    if (valid != kProfileValid) {
        out << "invalid " << valid << ": " << ProfileFileReason(valid, args[0]) << "\n";
        return kFailed;
    }
    PrepareKeyboard();
    const int r = ImportProfile(args[0]);
    return FinishCommand(out, r,
                         r == 0 ? "the file was refused; nothing was sent"
                                : "the keyboard did not take every command; it may hold part of the file");
}

int RunRestoreDefaults(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1 || args[0] != "--yes") return UsageError(err, "restore-defaults", "--yes");
    ScopedPrompt prompt(err, true);
    PrepareKeyboard();
    const int r = RestoreDefaults();
    return FinishCommand(out, r,
                         r == 0 ? "refused; nothing was sent"
                                : "the keyboard did not take every command; run restore-defaults again");
}

void PrintLighting(std::ostream& out, const CLightingModel& model) {
    const CLightingSettings& s = model.Settings();
    out << "profile: " << GetCurrentProfile() << "\n";
    out << "mode: " << int{s.mode} << "\n";
    out << "brightness: " << int{s.brightness} << "\n";
    out << "speed: " << int{s.speed} << "\n";
    out << "direction: " << int{s.direction} << "\n";
    out << "colourful: " << int{s.colourful} << "\n";
    out << "colour: " << Rgb(s.previewColour) << "\n";
    out << "second_colour: " << Rgb(s.secondColour) << "\n";
    out << "second_colour_flag: " << int{s.secondColourFlag} << "\n";
    out << "third_colour: " << Rgb(s.thirdColour) << "\n";
    out << "third_colour_flag: " << int{s.thirdColourFlag} << "\n";
    out << "option_a: " << int{s.optionA} << "\n";
    out << "option_b: " << int{s.optionB} << "\n";
    out << "option_c: " << int{s.optionC} << "\n";
    out << "mode7_flag: " << int{s.mode7Flag} << "\n";
    out << "modes:";
    for (int i = 0; i < model.Modes().Count(); ++i)
        out << " " << model.Modes().ModeAt(i);
    out << "\n";
}

constexpr const char* kLightingArgs = "[--profile P]";
int RunLighting(const std::vector<std::string>& argsIn, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = argsIn;
    int profile = GetCurrentProfile();
    if (!TakeProfileOption(args, &profile) || !args.empty())
        return UsageError(err, "lighting", kLightingArgs);
    PrepareKeyboard();
    SetCurrentProfile(profile);
    CLightingModel& model = TheLighting();
    if (const int read = ReadLightingRecords(model); read != DEV_OK)
        return FinishCommand(out, read, "the keyboard's lighting could not be read");
    PrintLighting(out, model);
    return kOk;
}

constexpr const char* kSetLightingArgs =
    "mode|brightness|speed|direction|colourful|colour VALUE [--profile P]";
int RunSetLighting(const std::vector<std::string>& argsIn, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = argsIn;
    int profile = GetCurrentProfile();
    if (!TakeProfileOption(args, &profile) || args.size() != 2)
        return UsageError(err, "set-lighting", kSetLightingArgs);
    const std::string& field = args[0];
    const std::string& text = args[1];
    std::optional<uint32_t> value;
    if (field == "colour") {
        if (text.size() == 6 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos)
            value = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    } else if (field == "mode") {
        value = ParseNumber(text, kMaxLightingMode);
    } else if (field == "brightness" || field == "speed") {
        value = ParseNumber(text, 5);
    } else if (field == "direction") {
        value = ParseNumber(text, 255);
        if (value && *value != 0 && *value != 255) value.reset();
    } else if (field == "colourful") {
        value = ParseNumber(text, 1);
    }
    if (!value) return UsageError(err, "set-lighting", kSetLightingArgs);

    PrepareKeyboard();
    SetCurrentProfile(profile);
    CLightingModel& model = TheLighting();
    if (const int read = ReadLightingRecords(model); read != DEV_OK)
        return FinishCommand(out, read, "the keyboard's lighting could not be read");
    const int v = static_cast<int>(*value);
    int status = DEV_OK;
    if (field == "mode") {
        if (!model.Modes().Offers(v)) {
            err << "orvanectl: the keyboard does not offer mode " << v << "\n";
            return kFailed;
        }
        CKeyLightFrame lights;
        status = model.ChangeMode(v, lights);
    } else if (field == "brightness") {
        status = model.ChangeBrightness(v);
    } else if (field == "speed") {
        status = model.ChangeSpeed(v);
    } else if (field == "direction") {
        status = model.ChangeDirection(static_cast<uint8_t>(v));
    } else if (field == "colourful") {
        if (model.Settings().colourful != v) status = model.ToggleColourful(false);
    } else {
        // RRGGBB on the command line, red in the low byte in the program.
        const Colour c =
            MakeColour(static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v));
        const int mode = model.Settings().mode;
        status = model.ChooseColour(c, mode == 6 || mode == 16);
    }
    return FinishCommand(out, status);
}

const CtlRegistrar kGetProfile({"get-profile", "", true, RunGetProfile,
                                "Prints the keyboard's active on-board profile (0-2)."});
const CtlRegistrar kSetProfile({"set-profile", "0|1|2", true, RunSetProfile,
                                "Makes an on-board profile the active one, as the profile buttons do."});
const CtlRegistrar
    kBackup({"backup", "FILE", true, RunBackup,
             "Reads the keyboard's key assignments and macros of all three profiles into a profile file."});
const CtlRegistrar
    kApply({"apply", "FILE", true, RunApply,
            "Checks a profile file and sends it to the keyboard, as the program's import does."});
const CtlRegistrar kRestoreDefaults(
    {"restore-defaults", "--yes", true, RunRestoreDefaults,
     "Puts all three on-board profiles back to the keyboard's own key assignments and its default "
     "lighting. --yes confirms it."});
const CtlRegistrar kLighting({"lighting", kLightingArgs, true, RunLighting,
                              "Prints a profile's lighting settings as the lighting panel shows them."});
const CtlRegistrar
    kSetLighting({"set-lighting", kSetLightingArgs, true, RunSetLighting,
                  "Changes one lighting setting of a profile and sends it to the keyboard at once."});

} // namespace
} // namespace orvanectl
