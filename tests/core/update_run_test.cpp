#include "core/update_run.h"
#include "tests/support/member_times_fixture.h"
#include "tests/support/stand_in_processes.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <gtest/gtest.h>

namespace quenmark {

using namespace std::string_literals;

namespace {

// Records what a window would show, in order.
struct RecordingObserver : RunObserver {
    std::string caption = kIdleCaption;
    bool buttons = true;
    std::vector<OperatorMessage> messages;
    std::vector<int> stages;
    std::vector<std::string> counts;
    std::vector<std::string> summaries;

    void captionChanged(const std::string& c) override { caption = c; }
    void stageChanged(int s) override { stages.push_back(s); }
    void buttonsEnabledChanged(bool enabled) override { buttons = enabled; }
    void timerChanged(bool) override {}
    void showMessage(const OperatorMessage& m) override { messages.push_back(m); }
    void downloadCountChanged(int written, int total) override {
        counts.push_back(downloadCountText(written, total));
    }
    void summaryChanged(const std::string& summary) override { summaries.push_back(summary); }
    void uploadEnded(const UploadEnd& end) override { transcripts.push_back(end.transcript); }
    std::vector<std::string> transcripts;
};

struct FixedClock : Clock {
    std::string dateStamp() override { return "Sunday, 6 December 2026 at 17:45"; }
    std::string timeOfDay() override { return "14:05"; }
};

const std::string kGoodPage = join(pageLines([](int) { return "1:00"s; }), "\n");

const std::string kRosterFound = "\"roster.txt\" could not be found. Make sure it is named "
                                 "correctly and in the main folder.";

// A main folder with everything a run checks before its downloads, and an empty roster.
void prepareMainFolder(const TempFolder& folder) {
    folder.write("roster.txt", "");
    folder.makeFolders({"lynx", "download", "templates", "upload"});
    for (const char* name : {"elite", "elite2", "stage", "diff", "leaders", "roster", "points"})
        folder.write(std::string("templates/") + name + ".html", "<html>\r\n");
    folder.write("settings.dat", crlf({"host", "user", "pw", "yellow", " 0 ", " 3 ", " 1 ", " 0 ",
                                       " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
}

class UpdateRunTest : public ::testing::Test {
protected:
    void SetUp() override { prepareMainFolder(folder); }
    void writeRoster(std::initializer_list<std::string_view> lines) {
        folder.write("roster.txt", crlf(lines));
    }

    TempFolder folder;
    RecordingObserver observer;
    StandInProcesses processes;
    StandInLock lock;
    FixedClock clock;
    UpdateRun run{folder.path(), processes, processes, lock, clock, observer};
};

} // namespace

TEST_F(UpdateRunTest, DamagedRosterIsReportedLikeAMissingOne) {
    writeRoster({"Ann", "AN", "red"});
    run.updateCommand();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text,
              "\"roster.txt\" is damaged: its last member is incomplete.");
    EXPECT_FALSE(observer.buttons);
    EXPECT_FALSE(run.timerOn());
    EXPECT_FALSE(lock.held);
}

// Stops before the downloads: the window is idle again, nothing is written and
// the folder is free for the next run.
TEST_F(UpdateRunTest, StopsBeforeTheDownloadsReturnTheWindowToIdle) {
    const auto folderText = [](const std::string& name) {
        return "The folder \"" + name +
               "\" could not be found. Make sure it exists in the main folder.";
    };
    const struct {
        const char* missing;
        bool lynxFound;
        bool lockBusy;
        std::string message;
    } cases[] = {
        {"lynx", true, false, folderText("lynx")},
        {"download", true, false, folderText("download")},
        {"templates", true, false, folderText("templates")},
        {"upload", true, false, folderText("upload")},
        {"", false, false,
         "The program \"lynx\" could not be found. Install it, or put it in the lynx folder."},
        {"", true, true, "Another update is running in this folder."},
        {"settings.dat", true, false,
         "\"settings.dat\" could not be found. Click Settings to create a new file with default "
         "settings."},
        {"templates/elite.html", true, false, "\"templates/elite.html\" could not be found."},
        {"templates/points.html", true, false, "\"templates/points.html\" could not be found."},
        // "name/": a folder stands in its place, which the run could not read.
        {"settings.dat/", true, false, "\"settings.dat\" could not be read."},
        {"templates/diff.html/", true, false, "\"templates/diff.html\" could not be read."},
    };
    for (const auto& c : cases) {
        TempFolder other;
        prepareMainFolder(other);
        other.write("errors.txt", "Ann\r\n");
        other.write("download/EndOfRoster.html", "");
        std::string missing = c.missing;
        const bool folderInPlace = missing.ends_with('/');
        if (folderInPlace)
            missing.pop_back();
        if (!missing.empty())
            std::filesystem::remove_all(other / missing);
        if (folderInPlace)
            std::filesystem::create_directory(other / missing);
        StandInProcesses starter;
        starter.lynxFound = c.lynxFound;
        StandInLock otherLock;
        otherLock.heldElsewhere = c.lockBusy;
        RecordingObserver seen;
        UpdateRun otherRun(other.path(), starter, starter, otherLock, clock, seen);
        otherRun.updateCommand();
        ASSERT_EQ(seen.messages.size(), 1u) << c.message;
        EXPECT_EQ(seen.messages[0], errorMessage(c.message));
        EXPECT_EQ(seen.caption, "Updater - Quenmark");
        EXPECT_TRUE(seen.buttons);
        EXPECT_EQ(seen.stages, (std::vector<int>{1, 0}));
        EXPECT_EQ(seen.summaries, std::vector{"Last run 14:05: stopped: " + c.message});
        EXPECT_FALSE(otherRun.timerOn());
        EXPECT_EQ(otherRun.outcome(), RunOutcome::Stopped);
        EXPECT_FALSE(otherLock.held) << c.message;
        EXPECT_EQ(starter.batches + starter.leftoversEnded, 0) << c.message;
        EXPECT_FALSE(other.exists("download.bat"));
        EXPECT_EQ(other.read("errors.txt"), "Ann\r\n");
        EXPECT_TRUE(other.exists("download/EndOfRoster.html") || c.missing == "download"s);
    }
}

// Only the sentinel of this run's own batch counts: written after the batch
// was, and seen once the batch has ended.
TEST_F(UpdateRunTest, ASentinelCountsOnlyOnceTheBatchHasEndedAndWhenItIsNewer) {
    processes.running = true;
    run.updateCommand();
    EXPECT_TRUE(lock.held);
    EXPECT_EQ(processes.leftoversEnded, 1);
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    run.tick();
    EXPECT_TRUE(run.timerOn());
    EXPECT_TRUE(observer.messages.empty());

    processes.running = false;
    const auto batchWritten = std::filesystem::last_write_time(folder / "download.bat");
    std::filesystem::last_write_time(folder / "download/EndOfRoster.html",
                                     batchWritten - std::chrono::seconds(1));
    run.tick();
    EXPECT_TRUE(run.timerOn());
    std::filesystem::last_write_time(folder / "download/EndOfRoster.html", batchWritten);
    run.tick();
    EXPECT_FALSE(run.timerOn());
    EXPECT_EQ(run.outcome(), RunOutcome::Uploading);
}

TEST_F(UpdateRunTest, ABatchThatEndedWithoutTheSentinelStopsTheRunAtTheNextTick) {
    run.updateCommand();
    run.tick();
    EXPECT_TRUE(run.timerOn());
    EXPECT_TRUE(observer.messages.empty());
    run.tick();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0],
              errorMessage("The downloads ended before the last page was fetched. Check that the "
                           "folder \"download\" can be written."));
    EXPECT_FALSE(run.timerOn());
    EXPECT_EQ(observer.caption, "Updater - Quenmark");
    EXPECT_EQ(observer.stages.back(), 0);
    EXPECT_TRUE(observer.buttons);
    EXPECT_EQ(run.outcome(), RunOutcome::Stopped);
    EXPECT_FALSE(lock.held);
    EXPECT_FALSE(folder.exists("download.bat"));
    EXPECT_EQ(processes.uploads, 0);
}

// --timeout, or the window closed while downloading: the batch ends and nothing
// of the downloads stays behind.
TEST_F(UpdateRunTest, AbandonedDownloadsLeaveNothingBehind) {
    for (bool byDestructor : {false, true}) {
        StandInProcesses starter;
        starter.running = true;
        StandInLock ownLock;
        {
            UpdateRun abandoned(folder.path(), starter, starter, ownLock, clock, observer);
            abandoned.updateCommand();
            ASSERT_TRUE(abandoned.timerOn());
            folder.write("download/EndOfRoster.html", "");
            if (!byDestructor) {
                abandoned.abandonDownloads();
                EXPECT_FALSE(abandoned.timerOn());
                EXPECT_EQ(abandoned.outcome(), RunOutcome::Stopped);
            }
        }
        EXPECT_FALSE(starter.running) << byDestructor;
        EXPECT_FALSE(ownLock.held);
        EXPECT_FALSE(folder.exists("download.bat"));
        EXPECT_FALSE(folder.exists("download/EndOfRoster.html"));
    }
}

TEST_F(UpdateRunTest, ABatchThatCannotStartIsReported) {
    processes.batchStarts = false;
    run.updateCommand();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].title, "Error");
    EXPECT_FALSE(run.timerOn());
    EXPECT_TRUE(observer.buttons);
}

TEST_F(UpdateRunTest, SettingsGoneBeforeTheSentinelStopTheTickWithButtonsBack) {
    run.updateCommand();
    std::filesystem::remove(folder / "settings.dat");
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0],
              errorMessage("\"settings.dat\" could not be found. Click Settings to create a new "
                           "file with default settings."));
    EXPECT_EQ(observer.caption, "Updating...");
    EXPECT_EQ(observer.stages.back(), 3);
    EXPECT_TRUE(observer.buttons);
    EXPECT_FALSE(run.timerOn());
    EXPECT_FALSE(folder.exists("download.bat"));
    EXPECT_TRUE(folder.exists("download/EndOfRoster.html"));
    EXPECT_EQ(processes.uploads, 0);
}

TEST_F(UpdateRunTest, RosterGoneBeforeTheSentinelIsReported) {
    run.updateCommand();
    std::filesystem::remove(folder / "roster.txt");
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text, kRosterFound);
    EXPECT_TRUE(observer.buttons);
}

TEST_F(UpdateRunTest, AWholeRunWithAnEmptyRosterEndsIdle) {
    run.updateCommand();
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0],
              (OperatorMessage{"Almost done!", "Uploading now - Have a nice day!",
                               MessageIcon::Information}));
    EXPECT_EQ(observer.stages, (std::vector<int>{1, 2, 3, 4, 0}));
    EXPECT_EQ(observer.caption, "Updater - Quenmark");
    EXPECT_TRUE(observer.buttons);
    EXPECT_FALSE(run.timerOn());
    EXPECT_EQ(processes.uploads, 1);
    EXPECT_EQ(run.outcome(), RunOutcome::Uploading);
    processes.uploadEnded({0, "ftp> bye\n"});
    EXPECT_EQ(run.outcome(), RunOutcome::Finished);
    EXPECT_EQ(observer.transcripts, (std::vector<std::string>{"ftp> bye\n"}));
    EXPECT_FALSE(lock.held);
    EXPECT_GE(processes.batchesEnded, 1);
    // A second tick after the run does nothing.
    run.tick();
    EXPECT_EQ(observer.messages.size(), 1u);
}

// The pages are written, but without ftp.dat or the client nothing goes up:
// the command line exits with the upload's failure.
TEST_F(UpdateRunTest, AnUploadThatCannotStartEndsTheRunUploadFailed) {
    processes.uploadStarts = false;
    run.updateCommand();
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    ASSERT_EQ(observer.messages.size(), 2u);
    EXPECT_EQ(observer.messages[0], errorMessage("The upload could not be started."));
    EXPECT_EQ(observer.messages[1].title, "Almost done!");
    EXPECT_EQ(run.outcome(), RunOutcome::UploadFailed);
}

// Without the upload the run writes ftp.dat and says nothing of uploading; a
// run that runs out of time tells why. Either way the run owns its summary.
TEST_F(UpdateRunTest, ASkippedUploadAndATimeOutAreOutcomesOfTheRun) {
    run.setUploadSkipped(true);
    run.updateCommand();
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    EXPECT_TRUE(observer.messages.empty());
    EXPECT_EQ(observer.stages, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_TRUE(folder.exists("ftp.dat"));
    EXPECT_EQ(processes.uploads, 0);
    EXPECT_EQ(run.outcome(), RunOutcome::UploadSkipped);
    EXPECT_EQ(run.summary().text(),
              "Last run 14:05: 0 members, 0 pages could not be read, upload skipped");

    processes.running = true;
    run.updateCommand();
    run.timeOut(30);
    const std::string why = "The downloads did not finish within 30 seconds.";
    EXPECT_EQ(observer.messages, (std::vector<OperatorMessage>{errorMessage(why)}));
    EXPECT_EQ(run.outcome(), RunOutcome::TimedOut);
    EXPECT_EQ(run.summary().text(), "Last run 14:05: stopped: " + why);
    EXPECT_FALSE(lock.held);
}

// The count moves as the batch notes its ended lines; the summary follows the
// run to the end of the upload.
TEST_F(UpdateRunTest, CountsPagesAndSummarisesTheRunAndItsUpload) {
    writeRoster({"Ann", "AN", "red", "http://a", "", "", "Bob", "BO", "red", "http://b", "", "",
                 "Cy", "CY", "red", "http://c", "", ""});
    folder.write("times.dat", "");
    processes.running = true;
    run.updateCommand();
    run.tick();
    folder.write("download.done", "../download/Ann.html\n");
    run.tick();
    run.tick();
    folder.write("download.done", "../download/Ann.html\n../download/Bob.html\n");
    folder.write("download/Ann.html", kGoodPage);
    folder.write("download/EndOfRoster.html", "");
    processes.running = false;
    run.tick();
    EXPECT_EQ(observer.counts,
              (std::vector<std::string>{"0 of 3 pages", "1 of 3 pages", "2 of 3 pages"}));
    EXPECT_EQ(observer.summaries,
              (std::vector<std::string>{"Last run 14:05: 3 members, 2 pages could not be read, "
                                        "uploading"}));
    ASSERT_TRUE(processes.uploadEnded);
    processes.uploadEnded({1, "ftp> open host\nUpload failed: Login to host failed: 530\n"});
    processes.uploadEnded({0, ""});
    EXPECT_EQ(observer.summaries,
              (std::vector<std::string>{
                  "Last run 14:05: 3 members, 2 pages could not be read, uploading",
                  "Last run 14:05: 3 members, 2 pages could not be read, upload failed: Login to "
                  "host failed: 530",
                  "Last run 14:05: 3 members, 2 pages could not be read, upload finished"}));
    // The end of an upload that a newer run outlived is not this run's.
    const UploadEndHandler old = processes.uploadEnded;
    run.updateCommand();
    const std::size_t shown = observer.summaries.size();
    old({0, ""});
    EXPECT_EQ(observer.summaries.size(), shown);
}

// Not one page read (the connection down): the run stops before it writes
// anything; one page read is enough to go on.
TEST_F(UpdateRunTest, ARunWithNotOnePageReadStopsWithNothingChanged) {
    writeRoster({"Ann", "AN", "red", "http://a", "", "", "Bob", "BO", "red", "http://b", "", ""});
    folder.write("times.dat", "");
    folder.write("errors.txt", "Cy\r\n");
    folder.write("download/Ann.txt", "old times\r\n");
    for (const std::string& bobsPage : {""s, kGoodPage}) {
        run.updateCommand();
        folder.write("download/Ann.html", "<p>Service Unavailable</p>");
        folder.write("download/Bob.html", bobsPage);
        folder.write("download/EndOfRoster.html", "");
        run.tick();
        const bool read = !bobsPage.empty();
        EXPECT_EQ(observer.summaries.back().find("stopped: No member page could be read; check the "
                                                 "connection. Nothing was published."),
                  read ? std::string::npos : 16u);
        EXPECT_EQ(folder.read("errors.txt"), read ? "Ann\r\n" : "Cy\r\n");
        EXPECT_EQ(folder.exists("download/Bob.txt"), read);
        EXPECT_EQ(folder.exists("upload/elite.htm"), read);
        EXPECT_EQ(processes.uploads, read ? 1 : 0);
    }
}

TEST(RunSummary, TextsAndUploadReasons) {
    RunSummary one{"09:30", false, "", 1, 1, UploadState::Skipped, ""};
    EXPECT_EQ(one.text(), "Last run 09:30: 1 member, 1 page could not be read, upload skipped");
    RunSummary stopped{"09:30", true, "two\r\nlines", 5, 0, UploadState::Running, ""};
    EXPECT_EQ(stopped.text(), "Last run 09:30: stopped: two  lines");
    EXPECT_EQ(uploadFailureReason(1, "a\r\nUpload failed: cd x failed: 550\r\n"),
              "cd x failed: 550");
    EXPECT_EQ(uploadFailureReason(137, "ftp> open host\n"), "the FTP client ended with status 137");
}

} // namespace quenmark
