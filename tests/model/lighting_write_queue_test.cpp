// The lighting write queue against a recording port: changes go out in the
// order asked for, one at a time, and one still waiting gives way to a later
// one that writes the same bytes, so the last position of a drag always
// arrives and nothing piles up behind the keyboard.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "model/LightingWriteQueue.h"
#include "support/RecordingLightingPort.h"

namespace orvane {
namespace {

using Calls = std::vector<std::string>;

TEST(LightingWriteQueue, SendsInOrderOneAtATimeAndAlwaysTheLastOfADrag) {
    testing::CRecordingLightingPort port;
    std::mutex lock;
    std::condition_variable answered;
    Calls answers;
    // Answers run on the worker here; the window has them run on its own thread.
    CLightingWriteQueue queue(port, [](const std::function<void()>& answer) { answer(); });
    auto send = [&](size_t offset, uint8_t value) {
        LightingChange change;
        change.fields[0] = FieldWrite::Byte(offset, value);
        change.count = 1;
        queue.Send(change, [&, offset, value](const LightingResult& r) {
            std::lock_guard hold(lock);
            answers.push_back(std::to_string(offset) + "=" + std::to_string(value) + ":" +
                              std::to_string(r.status));
            answered.notify_all();
        });
    };

    port.Hold();
    send(1, 1); // in flight, held at its begin
    port.WaitUntilHeld();
    send(1, 2);
    send(2, 4); // other bytes: keeps its place
    send(1, 3); // gives way to the next, as 2 gave way to it
    send(1, 4);
    EXPECT_EQ(port.Take(), Calls{"B"}) << "nothing else starts while a change is in flight";
    EXPECT_TRUE(queue.Busy());
    port.Release();
    {
        std::unique_lock wait(lock);
        answered.wait(wait, [&] { return answers.size() == 5; });
    }
    EXPECT_EQ(port.Take(), (Calls{"L1:1", "E", "B", "L2:4", "E", "B", "L1:4", "E"}));
    EXPECT_EQ(answers, (Calls{"1=2:2", "1=3:2", "1=1:1", "2=4:1", "1=4:1"}));
    EXPECT_FALSE(queue.Busy());
}

} // namespace
} // namespace orvane
