#pragma once
// Faults the simulated keyboard can be told to produce, with requests
// counted from 1 over the whole run.
#include <cstdint>
#include <string>

namespace orvane {

struct SimFault {
    enum Kind { NoReply, FailWrite, Status, Unplug, Late } What = NoReply;
    uint32_t From = 0; // first request affected
    uint32_t To = 0;   // last request affected; UINT32_MAX: from From on
    uint8_t StatusByte = 0;
    uint32_t DelayMs = 0; // Late: how long the reply is held back; Unplug: until plugged back (0: never)
};

// "noreply:A-B", "noreply:A-", "failwrite:N", "status:N:XX", "unplug:N",
// "unplug:N:MS", "late:N:MS".
bool ParseSimFault(const std::string& text, SimFault* fault);

} // namespace orvane
