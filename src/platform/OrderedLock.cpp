#include "platform/OrderedLock.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvane {
namespace {

bool CheckedFromStart() {
#ifdef ORVANE_CHECK_LOCK_ORDER
    return true;
#else
    const char* env = std::getenv("ORVANE_CHECK_LOCK_ORDER");
    return env && std::strcmp(env, "1") == 0;
#endif
}

std::atomic<bool>& Checked() {
    static std::atomic<bool> checked{CheckedFromStart()};
    return checked;
}

// What the calling thread holds, in the order taken. Kept whether or not the
// order is checked, so a check switched on later sees the truth. The program
// has four ordered locks; the room is for the re-entries of one of them.
struct HeldLocks {
    static constexpr int kRoom = 8;
    const COrderedLock* locks[kRoom] = {};
    int depth[kRoom] = {};
    int count = 0;

    int Find(const COrderedLock* lock) const {
        for (int i = count - 1; i >= 0; --i)
            if (locks[i] == lock) return i;
        return -1;
    }
};

thread_local HeldLocks t_Held;

[[noreturn]] void Fail(const char* message) {
    std::fputs(message, stderr);
    std::fflush(stderr);
    std::abort();
}

void CheckOrder(const COrderedLock& taking) {
    if (!Checked().load(std::memory_order_relaxed)) return;
    for (int i = 0; i < t_Held.count; ++i) {
        const COrderedLock* held = t_Held.locks[i];
        if (held->Rank() <= taking.Rank()) continue;
        char message[256];
        std::snprintf(message, sizeof message,
                      "orvane: lock order broken: %s taken while holding %s, which must be taken after it\n",
                      taking.Name(), held->Name());
        Fail(message);
    }
}

void Push(const COrderedLock* lock) {
    HeldLocks& held = t_Held;
    const int i = held.Find(lock);
    if (i >= 0) {
        ++held.depth[i];
        return;
    }
    if (held.count == HeldLocks::kRoom) Fail("orvane: too many ordered locks held at once\n");
    held.locks[held.count] = lock;
    held.depth[held.count] = 1;
    ++held.count;
}

void Pop(const COrderedLock* lock) {
    HeldLocks& held = t_Held;
    const int i = held.Find(lock);
    if (i < 0 || --held.depth[i] > 0) return;
    for (int j = i; j + 1 < held.count; ++j) {
        held.locks[j] = held.locks[j + 1];
        held.depth[j] = held.depth[j + 1];
    }
    --held.count;
}

} // namespace

void COrderedLock::lock() {
    // Re-entry cannot deadlock, whatever was taken in between.
    if (t_Held.Find(this) < 0) CheckOrder(*this);
    m_mutex.lock();
    Push(this);
}

// A try cannot deadlock, so it is never out of order.
bool COrderedLock::try_lock() {
    if (!m_mutex.try_lock()) return false;
    Push(this);
    return true;
}

void COrderedLock::unlock() {
    Pop(this);
    m_mutex.unlock();
}

bool LockOrderChecked() {
    return Checked().load();
}

void SetLockOrderChecked(bool checked) {
    Checked().store(checked);
}

const char* HeldOrderedLock() {
    return t_Held.count > 0 ? t_Held.locks[0]->Name() : nullptr;
}

namespace {
void FailHeldDuring(const char* what, const char* held) {
    char message[256];
    std::snprintf(message, sizeof message, "orvane: %s started while holding %s\n", what, held);
    Fail(message);
}
} // namespace

bool COrderedLock::HeldByThisThread() const {
    return t_Held.Find(this) >= 0;
}

void COrderedLock::CheckNotHeldDuring(const char* what) const {
    if (Checked().load(std::memory_order_relaxed) && HeldByThisThread()) FailHeldDuring(what, m_name);
}

void CheckNoOrderedLockHeldDuring(const char* what) {
    if (!Checked().load(std::memory_order_relaxed)) return;
    if (const char* held = HeldOrderedLock()) FailHeldDuring(what, held);
}

} // namespace orvane
