// The program's four locks in and out of their order, and the slow things
// no lock may be held across: out of order ends the program naming both.
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "device/DeviceCommands.h"
#include "device/ReportExchange.h"
#include "platform/CriticalSections.h"
#include "services/Prompt.h"

namespace orvane::test {
namespace {

// Takes `locks` one inside the other, then runs `inside`.
void Nested(std::span<COrderedLock* const> locks, const std::function<void()>& inside) {
    if (locks.empty()) {
        if (inside) inside();
        return;
    }
    std::lock_guard lock(*locks.front());
    Nested(locks.subspan(1), inside);
}

class LockOrder : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        was = LockOrderChecked();
        SetLockOrderChecked(true);
    }
    void TearDown() override { SetLockOrderChecked(was); }
    bool was = false;
};

TEST_F(LockOrder, OutOfOrderEndsTheProgramNamingBothLocks) {
    COrderedLock* config = &ConfigStoreLock();
    COrderedLock* driver = &DriverTableLock();
    COrderedLock* device = &g_DeviceLock;
    const auto request = [] {
        uint8_t frame[REPORT_SIZE] = {COMMAND_REPORT_ID}, reply[REPORT_SIZE];
        TransactReport(frame, sizeof frame, reply, sizeof reply, nullptr);
    };
    const auto question = [] { Prompt().MessageBox("?", "", MB_YESNO); };
    struct Case {
        const char* what;
        std::vector<COrderedLock*> locks; // taken one inside the other
        std::function<void()> inside;
        const char* dies; // null: runs to its end
    } cases[] = {
        {"in order", {config, driver, device}, {}, nullptr},
        {"re-entry of a held lock", {config, driver, config, device, driver}, {}, nullptr},
        {"a request under the committed copy's lock", {driver}, request, nullptr},
        {"working copy after committed copy",
         {driver, config},
         {},
         "ConfigStoreLock taken while holding DriverTableLock"},
        {"committed copy inside a transfer",
         {device, driver},
         {},
         "DriverTableLock taken while holding g_DeviceLock"},
        {"working copy inside a transfer",
         {device, config},
         {},
         "ConfigStoreLock taken while holding g_DeviceLock"},
        {"a begin/end bracket inside a transfer",
         {device},
         [] { DevBeginSession(); },
         "DeviceSessionLock taken while holding g_DeviceLock"},
        {"a request under the working copy's lock",
         {config},
         request,
         "a keyboard request started while holding ConfigStoreLock"},
        {"a question under any lock",
         {device},
         question,
         "a question to the user started while holding g_DeviceLock"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.dies)
            EXPECT_DEATH(Nested(c.locks, c.inside), c.dies);
        else
            Nested(c.locks, c.inside);
    }
    EXPECT_EQ(HeldOrderedLock(), nullptr) << "every lock released is forgotten";
}

} // namespace
} // namespace orvane::test
