#pragma once
// A recursive lock with a place in the program's lock order. Where the order
// is checked, taking a lock while the same thread holds one that comes after
// it ends the program naming both: such a pair deadlocks as soon as another
// thread takes the two the right way round. Re-entering a held lock is fine.
#include <mutex>

namespace orvane {

// The program's lock order: a lower rank is taken first.
enum LockRank : int {
    kConfigStoreRank = 1,   // ConfigStoreLock
    kDriverTableRank = 2,   // DriverTableLock
    kDeviceSessionRank = 3, // DeviceSessionLock, a begin/end bracket
    kDeviceRank = 4,        // g_DeviceLock
};

class COrderedLock {
  public:
    COrderedLock(LockRank rank, const char* name) : m_rank(rank), m_name(name) {}
    COrderedLock(const COrderedLock&) = delete;
    COrderedLock& operator=(const COrderedLock&) = delete;

    void lock();
    bool try_lock();
    void unlock();

    LockRank Rank() const { return m_rank; }
    const char* Name() const { return m_name; }
    bool HeldByThisThread() const;
    // Where the order is checked, ends the program when the calling thread
    // holds this lock while it starts `what`, something slow that every
    // other thread wanting the lock would wait for too.
    void CheckNotHeldDuring(const char* what) const;

  private:
    std::recursive_mutex m_mutex;
    const LockRank m_rank;
    const char* const m_name;
};

// Checked in debug and sanitizer builds, and wherever ORVANE_CHECK_LOCK_ORDER=1
// is in the environment (every test run sets it).
bool LockOrderChecked();
void SetLockOrderChecked(bool checked);

// The name of an ordered lock the calling thread holds, or null.
const char* HeldOrderedLock();
// The same for every ordered lock (`what` waits for the user, say).
void CheckNoOrderedLockHeldDuring(const char* what);

} // namespace orvane
