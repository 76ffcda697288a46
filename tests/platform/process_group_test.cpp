#include "platform/process_group.h"
#include "platform/process_start.h"
#include "tests/support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace quenmark {

// Processes of the batch end all the time while the scan reads their files in
// /proc; one that ends halfway through being read is simply gone. Sixteen
// children at a time, reaped together, make that happen within a second.
TEST(ProcessGroup, ProcessesEndingDuringTheScanAreSkipped) {
    TempFolder folder;
    const std::string marker = std::string(kBatchMarkerName) + "=0123456789abcdef01234567";
    ProcessSpec spec{
        "/bin/sh",
        {"-c",
         "while :; do for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16; do (:) & done; wait; done"},
        folder.path(),
        {}};
    spec.environment = {marker};
    spec.ownSession = true;
    std::optional<ChildProcess> leader = ChildProcess::start(spec);
    ASSERT_TRUE(leader);
    const int session = leader->pid();
    const std::string otherMarker = std::string(kBatchMarkerName) + "=ffffffffffffffffffffffff";
    std::atomic<bool> threw = false;
    const auto scan = [&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!threw && std::chrono::steady_clock::now() < until) {
            try {
                endMarkedProcesses(session, otherMarker);
            } catch (const std::exception&) {
                threw = true;
            }
        }
    };
    std::thread other(scan);
    scan();
    other.join();
    EXPECT_FALSE(threw);
    endMarkedProcesses(session, marker);
    leader->end();
    leader->wait();
}

} // namespace quenmark
