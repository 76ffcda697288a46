#include "platform/batch_interpreter.h"
#include "platform/batch_line_pool.h"
#include "platform/process_start.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace quenmark {

// A program that cannot run is reported at its start; one that runs gives its
// exit status, and one that hangs is ended without waiting on it.
TEST(ProcessStart, StartsWaitsForAndEndsAProgram) {
    TempFolder folder;
    EXPECT_FALSE(ChildProcess::start({"no-such-program-anywhere", {}, folder.path(), {}}));
    EXPECT_FALSE(ChildProcess::start({"/bin/true", {}, folder / "no-such-folder", {}}));
    auto failed = ChildProcess::start({"/bin/sh", {"-c", "echo out; exit 3"}, {}, folder / "log"});
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->wait(), 3);
    EXPECT_EQ(folder.read("log"), "out\n");

    auto hung = ChildProcess::start({"/bin/sleep", {"30"}, {}, {}});
    ASSERT_TRUE(hung);
    ChildProcess* children[] = {&*hung};
    EXPECT_EQ(ChildProcess::waitForAny(children, std::chrono::steady_clock::now() +
                                                     std::chrono::milliseconds(100)),
              std::nullopt);
    hung->end();
    EXPECT_EQ(ChildProcess::waitForAny(children, std::nullopt), 0u);
    EXPECT_EQ(hung->wait(), 128 + 9);
}

TEST(ProcessStart, OutputNeverGoesThroughALinkAtItsPath) {
    TempFolder folder;
    folder.write("outside.txt", "keep");
    const auto linkAt = [&](const char* name) {
        std::filesystem::create_symlink(folder / "outside.txt", folder / name);
        return folder / name;
    };
    // The interpreter's redirect (a page), a started program's (ftp.log).
    folder.write("b.bat", crlf({"printf page >page.html", "printf more >>more.html"}));
    linkAt("page.html");
    linkAt("more.html");
    runBatchFile(folder / "b.bat", folder.path());
    ChildProcess::start({"/bin/sh", {"-c", "echo waited"}, {}, linkAt("ftp.log"), false, true})
        ->wait();

    EXPECT_EQ(folder.read("outside.txt"), "keep");
    EXPECT_EQ(folder.read("page.html"), "page");
    EXPECT_EQ(folder.read("more.html"), "more");
    EXPECT_EQ(folder.read("ftp.log"), "waited\n");
    for (const char* name : {"page.html", "more.html", "ftp.log"})
        EXPECT_FALSE(std::filesystem::is_symlink(folder / name)) << name;
}

// The browser gets standard input, output and error and nothing else of ours,
// however many run at once. (The shell keeps its script at 10 and above.)
TEST(ProcessStart, ABatchProgramGetsOnlyItsThreeStandardDescriptors) {
    TempFolder folder;
    folder.write("lynx", "#!/bin/sh\nls /proc/$$/fd\n");
    ::chmod((folder / "lynx").c_str(), 0755);
    folder.write("b.bat", crlf({"lynx >a.txt", "lynx >b.txt", "lynx >c.txt"}));
    for (int jobs : {1, 3}) {
        runBatchFile(folder / "b.bat", folder.path(), kProgramTimeLimit, jobs);
        for (const char* page : {"a.txt", "b.txt"}) {
            std::istringstream listed(folder.read(page));
            std::string low;
            for (int fd; listed >> fd;)
                if (fd < 10)
                    low += std::to_string(fd) + " ";
            EXPECT_EQ(low, "0 1 2 ") << page << " with " << jobs << " at once";
        }
    }
}

// A line that cannot even be started is an error of that line: the others run.
TEST(ProcessStart, ALineThatThrowsEndsOnlyItself) {
    int ended = 0;
    {
        BatchLinePool pool(2, kProgramTimeLimit);
        pool.add(
            "a", []() -> std::optional<ChildProcess> { throw std::runtime_error("no"); },
            [&] { ++ended; });
        pool.add(
            "b",
            [] {
                return ChildProcess::start({"/bin/true", {}, {}, {}});
            },
            [&] { ++ended; });
    }
    EXPECT_EQ(ended, 2);
}

} // namespace quenmark
