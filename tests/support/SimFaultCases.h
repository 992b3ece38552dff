#pragma once
// The three ways the simulated keyboard can fail one request, for tests that
// check an operation against each of them.
#include <cstdint>

#include "device/ReportExchange.h"
#include "sim/SimFaults.h"
#include "sim/SimKeyboard.h"

namespace orvane::testing {

struct SimFaultCase {
    const char* name;
    SimFault::Kind kind;
};

inline constexpr SimFaultCase kRequestFaults[] = {
    {"status FF", SimFault::Status},
    {"no reply", SimFault::NoReply},
    {"failed write", SimFault::FailWrite},
};

// Request `at` (counted as the keyboard counts them) fails as `kind` says.
// An unanswered request is sent again: each of its tries goes unanswered.
inline void FailRequest(CSimKeyboard& sim, SimFault::Kind kind, uint32_t at) {
    const uint32_t last = kind == SimFault::NoReply ? at + TRANSACT_RETRIES : at;
    sim.AddFault({kind, at, last, 0xFF});
}

} // namespace orvane::testing
