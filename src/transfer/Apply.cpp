#include "transfer/Apply.h"

#include <cerrno>
#include <chrono>
#include <future>
#include <memory>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "model/ProfileFile.h"
#include "platform/Paths.h"
#include "services/Language.h"
#include "services/WriteFailureReport.h"
#include "transfer/ActiveProfile.h"
#include "transfer/BusyIndicator.h"
#include "transfer/TransferHost.h"

namespace orvane {
namespace {

// The working profile file of the active profile, written while the keyboard
// takes the configuration: the write waits for the disk, the send for the
// keyboard, and neither needs the other. Only when that file exists, as
// SaveWorkingProfile does it.
class CWorkingProfileSave {
  public:
    // Under ConfigStoreLock, with the commit, so the file holds what is sent.
    void Start(int activeProfile) {
        const std::string path = WorkingProfilePath(activeProfile);
        if (path.empty() || !FileExists(path)) return;
        std::vector<uint8_t> bytes = BuildProfileFileBytes(g_ConfigStore);
        try {
            m_write = std::async(std::launch::async, WriteProfileFile, path, std::move(bytes));
        } catch (const std::system_error&) {
            m_result = WriteProfileFile(path, bytes); // no thread: write it here
        }
    }
    // Nothing written (no such file) counts as not saved, with nothing to tell.
    WriteResult Result() { return m_write.valid() ? m_write.get() : m_result; }

  private:
    std::future<WriteResult> m_write;
    WriteResult m_result{{}, ENOENT};
};

} // namespace

ApplyOutcome Apply(ApplyNotice notices) {
    CTransferHost& host = TransferHost();
    // Without an indicator thread Apply still runs, only without the picture.
    auto busy = std::make_unique<CBusyIndicatorThread>(host);
    if (busy->Start()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kBusyStartWaitMs));
        busy->Post(BUSY_MSG_SHOW);
    }

    ApplyOutcome outcome;
    if (host.ApplyPending()) {
        outcome.pending = true;
        TransferNotice notice = nullptr;
        // Asked before any lock: an unknown active profile is read from the keyboard.
        const int active = GetActiveProfile();
        CWorkingProfileSave save;
        outcome.sent = CommitAndSend(false, &notice, [&] { save.Start(active); });
        const WriteResult saved = save.Result();
        outcome.saved = saved ? 1 : 0;
        if (notices == ApplyNotice::ToCaller && !outcome.Succeeded())
            outcome.notice = notice;
        else
            ShowTransferNotice(notice);
        if (!saved && !saved.path.empty()) ReportWriteFailures({saved});
        if (outcome.saved && outcome.sent) host.SetApplyPending(false);
    }

    busy->Post(BUSY_MSG_DONE);
    // The indicator winds down on its own; Apply does not wait for it.
    KeepBusyIndicator(busy.release());
    return outcome;
}

std::string ApplyFailureText(const ApplyOutcome& outcome, const char* consequenceKey) {
    const std::string consequence = Text(consequenceKey);
    return outcome.notice ? Text(outcome.notice) + "\n\n" + consequence : consequence;
}

} // namespace orvane
