// Recording a macro from the keyboard into the shown macro's action list.
#include "dialogs/MacroTab.h"
#include "model/KeyTables.h"
#include "services/Language.h"

namespace orvane {

namespace {

constexpr uint32_t VK_LWIN = 0x5B;
constexpr uint32_t VK_RWIN = 0x5C;
constexpr ScanCode kScanLeftWin = 0x15B;
constexpr ScanCode kScanRightWin = 0x15C;

} // namespace

void CMacroTab::SetRecordingLook(bool recording) {
    CPngButton* record = Button(1020);
    record->setText(
        QString::fromStdString(Text(recording ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD")));
    record->SetChecked(recording, true);
    Button(1017)->setEnabled(!recording);
    Button(1018)->setEnabled(!recording);
    m_combo->setEnabled(!recording);
}

void CMacroTab::StartRecording() {
    if (Recording() || m_selected < 0) return;
    m_actions->EndEdit(true);
    SetRecordingLook(true);
    m_lastTick = m_clock();
    m_lastSuperVk = 0;
    m_recorder.Start();
}

void CMacroTab::StopRecording() {
    if (!Recording()) return;
    m_recorder.Stop();
    SetRecordingLook(false);
}

void CMacroTab::AddRecorded(ScanCode code, uint16_t transition, int64_t delay) {
    // The keyboard keeps at most 40000 ms per action (a longer gap would wrap
    // in its 12-bit field), so a long pause is recorded as the longest delay.
    auto kept = static_cast<uint32_t>(std::clamp<int64_t>(delay, 0, kMacroMaxDelayMs));
    kept -= kept % kMacroDelayStepMs; // shown as the keyboard will keep it
    AddActionRow({kept, code, transition}, {.recorded = true, .markChanged = true, .afterSelection = true});
}

bool CMacroTab::OnRecordedKey(const RecordKey& key) {
    ScanCode code = key.code;
    if (key.vk == VK_LWIN || key.vk == VK_RWIN) {
        // The desktop would take the Super keys; they are always recorded.
        code = key.vk == VK_LWIN ? kScanLeftWin : kScanRightWin;
        if (key.release) {
            m_lastSuperVk = 0;
        } else {
            if (key.repeat || m_lastSuperVk == key.vk) return true;
            m_lastSuperVk = key.vk;
        }
    } else {
        if (code == kScanNone || MediaNumberOfScanCode(code) >= 0) return false;
        if (key.repeat) return true;
    }
    const int64_t now = m_clock();
    if (IsReleaseOnlyKey(code)) {
        // Recorded as the other system reports it: only the release, with a
        // press put 2 ms before it.
        if (!key.release) return true;
        AddRecorded(code, kActionPress, kReleaseOnlyPressMs);
    }
    AddRecorded(code, key.release ? kActionRelease : kActionPress, now - m_lastTick);
    m_lastTick = now;
    return true;
}

} // namespace orvane
