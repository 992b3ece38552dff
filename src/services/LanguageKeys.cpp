// Every key the program looks up in the language file, except the display
// names of keys, which the key table itself lists (a model test checks those).
// Add a key here when you add a lookup.
#include "services/LanguageKeys.h"

#include <iterator>

namespace orvane {
namespace {

constexpr LanguageSection T = LanguageSection::Text;
constexpr LanguageSection L = LanguageSection::Light;
constexpr LanguageSection M = LanguageSection::Mode;
constexpr LanguageFormat kNumber = LanguageFormat::Number;
constexpr LanguageFormat kString = LanguageFormat::String;

constexpr LanguageKeyEntry kKeys[] = {
    // Main window: caption, tooltips, buttons, messages.
    {T, "MAIN_CAPTION"},
    {T, "MAIN_HELP_PROMPT"},
    {T, "MAIN_CLOSE_PROMPT"},
    {T, "MAIN_MINIMIZE_PROMPT"},
    {T, "MAIN_MENU_PROMPT"},
    {T, "MAIN_NO_DEVICE_PROMPT"},
    {T, "MAIN_PROMPT_DEFAULT"},
    {T, "MAIN_PROMPT_INPORT"},
    {T, "MAIN_PROMPT_EXPORT", kString},
    {T, "CONFIRM_APPLIED"},
    {T, "CONFIRM_SAVED"},
    {T, "CONFIRM_RESTORED"},
    {T, "CONFIRM_DEFAULTS"},
    {T, "HELP_OPEN_FAILED", kString},
    {T, "LINK_OPEN_FAILED", kString},
    {T, "OSK_MISSING"},
    {T, "PROFILE_1"},
    {T, "PROFILE_2"},
    {T, "PROFILE_3"},
    {T, "PROFILE_MACRO"},
    {T, "PROFILE_DEFAULT"},
    {T, "PROFILE_OK"},
    {T, "PROFILE_CANCLE"},
    {T, "PROFILE_APPLY"},
    // Backup and restore menu.
    {T, "MENU_1"},
    {T, "MENU_2"},
    {T, "MENU_3"},
    {T, "MENU_4"},
    // Tray icon and its menu, About box.
    {T, "KEYBOARD_TRAY_DESC"},
    {T, "MENU_11"},
    {T, "MENU_22"},
    {T, "MENU_33"},
    {T, "LANG_ABOUT_TITLE"},
    {T, "GUANYU_JIESHAO"},
    {T, "GUANYU_BANQUAN"},
    {T, "LANG_ABOUT_OK"},
    {T, "ABOUT_VERSION", kString},
    {T, "ABOUT_KEYBOARD", kNumber},
    {T, "ABOUT_KEYBOARD_SIMULATED", kNumber},
    {T, "ABOUT_NO_KEYBOARD"},
    // Connection and configuration transfer.
    {T, "MAIN_DEFAULT_MATRIX_PROMPT"},
    {T, "EXTRA_MACRO_TOO_LONG"},
    {T, "EXTRA_PROFILE_SPACE_TIGHT"},
    // Key function assignments: tooltips of assigned keys, confirmations.
    {T, "KEY_PROMPT_SET"},
    {T, "KEY_PROMPT_SINGLE"},
    {T, "KEY_PROMPT_MOUSE"},
    {T, "KEY_PROMPT_MACRO"},
    {T, "KEY_PROMPT_MEDIA"},
    {T, "KEY_PROMPT_FUNCTION"},
    {T, "KEY_PROMPT_DISABLED"},
    {T, "MACRO_DELETE_CONFIRM_OF_KEYS"},
    {T, "APPLY_PROMPT"},
    // Function descriptors: numbers 0-10, then 11-15 (never offered, but a
    // record from a file may carry them).
    {T, "FUNC_KEY_DESC1"},
    {T, "FUNC_KEY_DESC2"},
    {T, "FUNC_KEY_DESC3"},
    {T, "FUNC_KEY_DESC4"},
    {T, "FUNC_KEY_DESC5"},
    {T, "FUNC_KEY_DESC6"},
    {T, "FUNC_KEY_DESC7"},
    {T, "FUNC_KEY_DESC8"},
    {T, "FUNC_KEY_DESC9"},
    {T, "FUNC_KEY_DESC10"},
    {T, "FUNC_KEY_DESC11"},
    {T, "A1"},
    {T, "A2"},
    {T, "A3"},
    {T, "A4"},
    {T, "A5"},
    // Key names: the fallback for keys without a name of their own.
    {T, "UNKNOWN_KEY", kNumber},
    // Macros.
    {T, "MACRO_ERR_MAX", kNumber},
    {T, "MACRO_ACTION_ERR_DELAY_MAX", kNumber},
    {T, "MACRO_ACTION_RECORD_DELAY"},
    {T, "MACRO_NEW_PREFIX"},
    // Profile files.
    {T, "PROFILE_FORMAT_ERROR", kString},
    // Settings and user files that could not be saved.
    {T, "FILE_SAVE_FAILED", kString},
    {T, "FILE_SAVE_REASON", kString},
    {T, "FILE_FILTER_PROFILES"},
    {T, "FILE_FILTER_ALL"},
    // Composite key-assignment dialog.
    {T, "COMPOSITE_PROMPT_OSK"},
    {T, "KEY_SETTING_TISHI"},
    {T, "MACRO_EDIT_TISHI"},
    {T, "SINGLE_KEY"},
    {T, "MULTI_MEDIA"},
    {T, "FUNCTION_KEY"},
    {T, "MACRO_SETTING"},
    {T, "SINGLE_STATIC"},
    {T, "SINGLE_DISABLE"},
    {T, "IDS_MACRO_KB_KEY"},
    {T, "IDS_MACRO_MOU_KEY"},
    {T, "MEDIA_EDIT_TISHI"},
    {T, "FUNCTION_TISHI"},
    {T, "MACRO_OK"},
    {T, "MACRO_CANCLE"},
    // Macro tab.
    {T, "MACRO_NAME_SETTING"},
    {T, "MACRO_CYCLES"},
    {T, "RECORD_DELAY"},
    {T, "MACRO_KEYS_TISHI"},
    {T, "MACRO_ACTION_TISHI"},
    {T, "MACRO_DELAY_MS"},
    {T, "A_RECORD"},
    {T, "MACRO_ACTION_RECORD"},
    {T, "MACRO_ACTION_STOP_RECORD"},
    {T, "A_TOP"},
    {T, "A_UP"},
    {T, "A_DOWN"},
    {T, "A_BOTTOM"},
    {T, "A_DELETE"},
    {T, "A_CLEAR"},
    {T, "MACRO_ACTION_CLEAR_CONFIRM"},
    {T, "MACRO_ACTION_ERR_MODIFY"},
    // Profile manager and profile switching.
    {T, "PROFILE_NEW"},
    {T, "DEFAULT_PROFILE_NAME"},
    {T, "PROFILE_TIP"},
    {T, "PROFILE_LIST_ACTIVE"},
    {T, "PROFILE_LIST_NAME"},
    {T, "PROFILE_LIST_FOLDER"},
    {T, "PROFILE_SELECT_PROMPT"},
    {T, "PROFILE_SWITCH_UNSENT_PROMPT"},
    {T, "PROFILE_SEELCT_PROMPT2"},
    {T, "PROFILE_APPLY_FAILED"},
    {T, "PROFILE_SWITCH_FAILED"},
    {T, "PROFILE_READ_FAILED"},
    {T, "PROFILE_ADD_TIP"},
    {T, "PROFILE_LOAD_TIP"},
    // Lighting panel labels.
    {L, "Usb"},
    {L, "Deng"},
    {L, "Light"},
    {L, "FX"},
    {L, "Speed"},
    {L, "Color"},
    {L, "JColor"},
    {L, "DC"},
    {L, "Tool"},
    // Lighting mode names, by mode number.
    {M, "1"},
    {M, "2"},
    {M, "3"},
    {M, "4"},
    {M, "5"},
    {M, "6"},
    {M, "7"},
    {M, "8"},
    {M, "9"},
    {M, "10"},
    {M, "11"},
    {M, "12"},
    {M, "13"},
    {M, "14"},
    {M, "15"},
    {M, "16"},
    {M, "17"},
    {M, "18"},
    {M, "19"},
    {M, "20"},
};

} // namespace

const LanguageKeyEntry* LanguageKeys(size_t* count) {
    if (count) *count = std::size(kKeys);
    return kKeys;
}

const char* LanguageSectionName(LanguageSection section) {
    switch (section) {
    case LanguageSection::Text:
        return "TEXT";
    case LanguageSection::Light:
        return "LIGHT";
    case LanguageSection::Mode:
        return "MODE";
    }
    return "TEXT";
}

} // namespace orvane
