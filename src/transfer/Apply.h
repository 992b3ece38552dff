#pragma once
// Apply: the working configuration is saved into the active profile's
// working profile file, committed, and its macro block and key matrices are
// sent to the keyboard.
#include <functional>
#include <string>

namespace orvane {

// A language key to show once every lock is released, or null.
using TransferNotice = const char*;

// What one Apply did.
struct ApplyOutcome {
    bool pending = false; // ApplyPending was set, so something was tried
    int saved = 0;        // the working profile file was written
    int sent = 0;         // every command of the send returned 1
    // Why the send stopped, when the caller asked to tell it itself.
    const char* notice = nullptr;
    bool Succeeded() const { return !pending || (saved && sent); }
};

// Who tells the user why a send stopped: Apply itself, or a caller that
// adds what it did not do because of it (one message, not two in a row).
enum class ApplyNotice { Shown, ToCaller };

// User-interface thread. Shows the busy indicator, and when ApplyPending is
// set saves and sends; ApplyPending is cleared only when both succeeded.
ApplyOutcome Apply(ApplyNotice notices = ApplyNotice::Shown);
// One message for a failed Apply asked with ApplyNotice::ToCaller: why it
// stopped, when it knows, then the words of `consequenceKey`.
std::string ApplyFailureText(const ApplyOutcome& outcome, const char* consequenceKey);

// Makes the committed copy from the working one under ConfigStoreLock, then
// sends it holding DriverTableLock only, so the working copy is free again
// while the keyboard takes its time. `withCommit` runs under ConfigStoreLock
// just before the commit, for what must match the committed copy. The caller
// must not hold ConfigStoreLock. Nonzero on success. With `notice` the
// message to show is handed back for the caller to show once it holds no
// lock; without it the message is shown before returning.
int CommitAndSend(bool sendAllProfiles, TransferNotice* notice = nullptr,
                  const std::function<void()>& withCommit = {});

// Sends the committed copy: the macro image (with names when they fit,
// without when only that fits, nothing at all when not even that fits) and
// the key matrices of all three profiles, or of the active one only, in one
// begin/end bracket. The macro capacity and the default key matrix are read
// first when they are not known; when they cannot be, nothing is sent. 1
// only when every command succeeded (the first failure ends the sequence,
// the session still closed), else 0. The send-all-profiles flag is cleared
// once such a send has succeeded; a failed one keeps it, so the next Apply
// sends all three again.
int SendConfiguration(bool sendAllProfiles, TransferNotice* notice = nullptr);

// Shows a notice's language text (nothing for null).
void ShowTransferNotice(TransferNotice notice);

} // namespace orvane
