#pragma once
// The backup and restore menu's two commands: restoring the configuration
// from a profile file the user picks, and saving it to one.
namespace orvane {

// The name both file dialogs start with: every profile file in the folder.
constexpr const char* kProfileFilePattern = "*.fwc";
// Where each dialog was last used, in the application's settings; each
// starts there (at first in the home folder).
constexpr const char* kProfileFolderSection = "PROFILES";
constexpr const char* kImportFolderValue = "LastImportFolder";
constexpr const char* kExportFolderValue = "LastExportFolder";

// Asks for an existing profile file and imports it (ImportProfile): 1 when the
// keyboard took it, -1 when the send failed (Apply stays pending), 0 when the
// user cancelled or the file was refused ("MAIN_PROMPT_INPORT" shown, nothing
// changed).
int ImportProfileCommand();

// Asks for a file to save to (the dialog asks before replacing one) and saves
// the working configuration there under ConfigStoreLock. 1 when written; 0
// when cancelled, or when the file could not be written, which is shown with
// "MAIN_PROMPT_EXPORT" and the path.
int ExportProfileCommand();

} // namespace orvane
