#pragma once
// Root writes whatever the permissions say. While one of these lives, the
// calling thread gives up the capabilities that let it, so a read-only file
// or folder stops its writes as it stops any user's; a user has nothing to
// give up. Capabilities belong to a thread: only this thread's writes obey.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace orvane::testing {

class CPermissionsApply {
  public:
    CPermissionsApply() {
        if (!Caps(SYS_capget, m_saved)) return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            lowered[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
        m_lowered = Caps(SYS_capset, lowered);
    }
    ~CPermissionsApply() {
        if (m_lowered) Caps(SYS_capset, m_saved);
    }
    CPermissionsApply(const CPermissionsApply&) = delete;
    CPermissionsApply& operator=(const CPermissionsApply&) = delete;

  private:
    static bool Caps(long call, __user_cap_data_struct (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(call, &header, data) == 0;
    }

    __user_cap_data_struct m_saved[2] = {};
    bool m_lowered = false;
};

} // namespace orvane::testing
