#pragma once
// The per-user data folder "Brislane": beside the settings file "zaru.ini"
// (the lighting switch, kept by the lighting model) one user data file per
// keyboard profile, holding three colour sets of per-key colours for mode 20
// with their names and paint settings. Every operation opens its file by name for that one access; a
// missing file or key gives the default. A write that fails leaves the old
// file whole and returns the file and the reason; the operations that are a
// user's action on their own (choosing and naming a colour set) tell the user.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "model/LightingModel.h"
#include "model/LightingTables.h"
#include "platform/WriteResult.h"

namespace orvane {

class CLightingModel;
class CLightingPort;
class CPaintStore;

constexpr int kUserDataProfileCount = 3; // user data files 0-2
constexpr int kColourSetCount = 3;       // colour sets 0-2 of each file
constexpr int kTemplateFileNumber = 3;   // Skins/UserDengColor_3.userd
constexpr const char* kUserDataExtension = ".userd";

// ------------------------------------------------------------------ paths

// The user data folder (no trailing '/'), the folder of the settings file;
// empty when the per-user paths were not built or did not fit.
std::string UserFolderPath();
// "<prefix><p>.userd" for p = 0-2; empty for any other p or an unset prefix.
std::string UserDataFilePath(int profile);
// The shipped template, Skins/UserDengColor_3.userd beside the program.
std::string UserDataTemplatePath();

// ---------------------------------------------------- user data file values

// The colour set in use ("mode" of "PRESENTMODE"); 0 when missing or outside 0-2.
int ReadPresentSet(int profile);
WriteResult WritePresentSet(int profile, int set);

// Display name of colour set `set` (key "0"-"2" of "MODENAME"); "0" when missing.
std::string ReadSetName(int profile, int set);
WriteResult WriteSetName(int profile, int set, const std::string& name);

// Colour and paint flag of LED `led` in section "Mode<set>": "r,g,b,flag",
// missing entry "255,0,0,1", missing numbers 0, any non-zero flag 1.
struct KeyColourEntry {
    Colour colour = 0;
    int flag = 0;
    bool operator==(const KeyColourEntry&) const = default;
};
KeyColourEntry ReadKeyColour(int profile, int set, int led);
WriteResult WriteKeyColour(int profile, int set, int led, Colour colour, int flag);

// "tool", "jcolor" (linked colour) and "color" (own colour) of a colour set;
// missing: 0, 0,0,0 and 0,0,0.
struct PaintSettings {
    int tool = 0;
    Colour linkedColour = 0;
    Colour ownColour = 0;
    bool operator==(const PaintSettings&) const = default;
};
PaintSettings ReadPaintSettings(int profile, int set);
// Writes "tool", "jcolor" and "color", in that order, then the entries of
// `keys`, all with one write of the file.
WriteResult WritePaintSettings(int profile, int set, const PaintSettings& settings,
                               std::span<const PaintedKey> keys = {});

// Parses up to `count` comma-separated decimal numbers the way the files are
// read: numbers after the first one that is missing or malformed are 0.
void ParseNumberList(const std::string& text, int* numbers, int count);

// --------------------------------------------------------- whole-file work

// Creates the user data folder when it is missing and copies the template
// into each of the three user data files that is missing (a missing template
// leaves them empty). Files that exist are left alone. Returns what could not
// be made: the folder alone when it failed, else each file that failed.
std::vector<WriteResult> EnsureUserFolder();

// Copies the template over the user data file of `profile` (0-2); on failure
// the old file is kept whole.
WriteResult RestoreUserFile(int profile);

// Loads the colour set in use of `profile` into the lighting model: the set
// in use, its paint settings, the colour and paint flag of every key slot and
// of the Fn key, and, with `send`, the G keys' flag and the whole per-key
// colour table sent to the keyboard through the model (off this thread when
// it has a sender; a refusal reaches `refused`). Returns the send's result
// (1 once on its way), or 1 without sending; 0 for a profile outside 0-2.
int LoadKeyColours(int profile, bool send, CLightingModel& model, CLightingModel::Refused refused = {});
int LoadKeyColours(int profile, bool send);

// Colour sets of the lighting panel's list.
std::array<std::string, kColourSetCount> ListColourSets(int profile);
// The chosen list position becomes the set in use and its colours are loaded;
// a choice that could not be stored is told to the user. Returns the send's
// result as LoadKeyColours does.
int SelectColourSet(int profile, int set, bool send, CLightingModel& model,
                    CLightingModel::Refused refused = {});
int SelectColourSet(int profile, int set, bool send);
// The typed name replaces the name of the set in use; a name that could not
// be stored is returned and told to the user, once for a run of failures.
WriteResult RenameColourSet(int profile, const std::string& name, const CLightingModel& model);

// The paint store the lighting model writes painted keys and paint settings
// through: the user data files.
CPaintStore& UserDataPaintStore();

} // namespace orvane
