#pragma once
// One change of the current profile's lighting record as the keyboard is to
// take it: the fields it writes inside one begin/end bracket. Sending one
// touches nothing but the port, so it may run on any thread.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "model/LightingPort.h"
#include "model/LightingTables.h"

namespace orvane {

struct FieldWrite {
    size_t offset = 0; // inside the record
    uint8_t count = 0; // 1 or 3
    std::array<uint8_t, 3> bytes{};
    static FieldWrite Byte(size_t offset, uint8_t value) { return {offset, 1, {value, 0, 0}}; }
    static FieldWrite Rgb(size_t offset, Colour c) { return {offset, 3, {RedOf(c), GreenOf(c), BlueOf(c)}}; }
};

struct LightingChange {
    int profile = 0; // whose record, 0-2
    std::array<FieldWrite, 2> fields{};
    size_t count = 0;
    bool pair = false; // the colourful flag's pair follows the flag

    // Writes the same bytes as `other`, so the later of the two makes the
    // earlier one needless.
    bool Supersedes(const LightingChange& other) const;
};

// What came of a change: the first failing status (1 when every command
// succeeded) and how many of its writes the keyboard acknowledged.
struct LightingResult {
    int status = 1;
    size_t taken = 0;
};
// Statuses of changes that never reached the keyboard and needed not to:
// a later change wrote the same bytes, or there was nothing to send.
constexpr int kLightingSuperseded = 2;
constexpr int kLightingNothingToSend = 3;

// Begin, the writes in order up to the first that fails, end. A failed begin
// sends nothing more; after a failed write the bracket is still closed.
LightingResult SendLightingChange(CLightingPort& port, const LightingChange& change);

// Carries changes to the keyboard and their results back to the thread
// that sent them.
class CLightingSender {
  public:
    using Done = std::function<void(const LightingResult&)>;
    // Any other bracket of lighting writes (the per-key colours): it runs
    // where the changes are sent, in the same order, and is never dropped.
    using Writes = std::function<LightingResult(CLightingPort&)>;
    virtual ~CLightingSender() = default;
    virtual void Send(const LightingChange& change, Done done) = 0;
    virtual void SendWrites(Writes writes, Done done) = 0;
};

} // namespace orvane
