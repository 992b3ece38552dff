#pragma once
// A lighting port that records each call as text: "B", "E",
// "L<offset>:<bytes>", "K<led>:<bytes>", "T". It can refuse the calls whose
// text starts with a given prefix, hold every call until released (so a
// test sees a change in flight), and pass each call on to another port (the
// simulated keyboard's). A write queue's worker calls it, so it locks.
#include <condition_variable>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/LightingPort.h"

namespace orvane::testing {

class CRecordingLightingPort : public CLightingPort {
  public:
    int BeginSession() override {
        return Record("B", [this] { return forward->BeginSession(); });
    }
    int EndSession() override {
        return Record("E", [this] { return forward->EndSession(); });
    }
    int WriteLighting(std::span<const uint8_t> d, uint16_t offset) override {
        return Record("L" + std::to_string(offset) + ":" + Bytes(d),
                      [&] { return forward->WriteLighting(d, offset); });
    }
    int WriteKeyColours(std::span<const uint8_t> d, int firstLed) override {
        return Record("K" + std::to_string(firstLed) + ":" + Bytes(d),
                      [&] { return forward->WriteKeyColours(d, firstLed); });
    }
    int WriteProfileKeyColours(std::span<const uint8_t> t) override {
        {
            std::lock_guard lock(m_lock);
            table.assign(t.begin(), t.end());
        }
        return Record("T", [&] { return forward->WriteProfileKeyColours(t); });
    }
    int CurrentProfile() override { return forward ? forward->CurrentProfile() : profile; }

    std::vector<std::string> Take() {
        std::lock_guard lock(m_lock);
        return std::exchange(calls, {});
    }
    // Calls whose text starts with `prefix` answer `status` (an empty prefix: none).
    void Refuse(std::string prefix, int status = -103) {
        std::lock_guard lock(m_lock);
        m_refused = std::move(prefix);
        m_refusal = status;
    }
    // From now on each call waits, recorded, until Release().
    void Hold() {
        std::lock_guard lock(m_lock);
        m_holding = true;
    }
    // Returns once a call is waiting.
    void WaitUntilHeld() {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_waiting > 0; });
    }
    void Release() {
        {
            std::lock_guard lock(m_lock);
            m_holding = false;
        }
        m_changed.notify_all();
    }

    std::vector<std::string> calls;
    std::vector<uint8_t> table; // of the last "T"
    int profile = 0;
    CLightingPort* forward = nullptr;

  private:
    static std::string Bytes(std::span<const uint8_t> d) {
        std::string s;
        for (uint8_t b : d)
            s += (s.empty() ? "" : " ") + std::to_string(b);
        return s;
    }
    template <class Pass> int Record(std::string call, Pass pass) {
        std::unique_lock lock(m_lock);
        const bool refused = !m_refused.empty() && call.starts_with(m_refused);
        calls.push_back(std::move(call));
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_holding; });
        --m_waiting;
        if (refused) return m_refusal;
        lock.unlock();
        return forward ? pass() : 1;
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::string m_refused;
    int m_refusal = -103;
    bool m_holding = false;
    int m_waiting = 0;
};

} // namespace orvane::testing
