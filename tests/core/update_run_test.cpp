#include "core/update_run.h"
#include "tests/support/temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace quenmark {

namespace {

// Records what a window would show, in order.
struct RecordingObserver : RunObserver {
    std::string caption = kIdleCaption;
    int stage = 0;
    bool buttons = true;
    bool timer = false;
    std::vector<OperatorMessage> messages;
    std::vector<int> stages;

    void captionChanged(const std::string& c) override { caption = c; }
    void stageChanged(int s) override {
        stage = s;
        stages.push_back(s);
    }
    void buttonsEnabledChanged(bool enabled) override { buttons = enabled; }
    void timerChanged(bool on) override { timer = on; }
    void showMessage(const OperatorMessage& m) override { messages.push_back(m); }
};

struct FakeProcesses : ProcessStarter {
    bool batchStarts = true;
    int batches = 0;
    int uploads = 0;
    std::string batchSeen;
    bool startBatch(const std::filesystem::path& folder, const std::string& file) override {
        ++batches;
        std::ifstream in(folder / file, std::ios::binary);
        batchSeen.assign(std::istreambuf_iterator<char>(in), {});
        return batchStarts;
    }
    bool startUpload(const std::filesystem::path&, const std::string&) override {
        ++uploads;
        return true;
    }
};

struct FixedClock : Clock {
    std::string dateStamp() override { return "Sunday, 6 December 2026 at 17:45"; }
};

const std::string kRosterFound = "\"roster.txt\" could not be found. Make sure it is named "
                                 "correctly and in the main folder.";

class UpdateRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.makeFolders({"lynx", "download", "templates", "upload"});
        for (const char* name : {"elite", "elite2", "stage", "diff", "leaders", "roster", "points"})
            folder.write(std::string("templates/") + name + ".html", "<html>\r\n");
    }
    void writeRoster(std::initializer_list<std::string_view> lines) {
        folder.write("roster.txt", crlf(lines));
    }
    void writeSettings() {
        folder.write("settings.dat",
                     crlf({"host", "user", "pw", "yellow", " 0 ", " 3 ", " 1 ", " 0 ", " 1 ", " 1 ",
                           " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "}));
    }

    TempFolder folder;
    RecordingObserver observer;
    FakeProcesses processes;
    FixedClock clock;
    UpdateRun run{folder.path(), processes, clock, observer};
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
}

TEST_F(UpdateRunTest, AMissingFolderReturnsTheWindowToIdle) {
    writeRoster({});
    for (const char* missing : {"lynx", "download", "templates", "upload"}) {
        TempFolder other;
        other.makeFolders({"lynx", "download", "templates", "upload"});
        other.write("roster.txt", "");
        std::filesystem::remove_all(other / missing);
        RecordingObserver seen;
        UpdateRun otherRun(other.path(), processes, clock, seen);
        otherRun.updateCommand();
        ASSERT_EQ(seen.messages.size(), 1u) << missing;
        EXPECT_EQ(seen.messages[0],
                  errorMessage(std::string("The folder \"") + missing +
                               "\" could not be found. Make sure it exists in the main folder."));
        EXPECT_EQ(seen.caption, "Updater - Quenmark");
        EXPECT_TRUE(seen.buttons);
        EXPECT_EQ(seen.stage, 0);
        EXPECT_FALSE(otherRun.timerOn());
    }
    EXPECT_EQ(processes.batches, 0);
}

TEST_F(UpdateRunTest, ABatchThatCannotStartIsReported) {
    writeRoster({});
    processes.batchStarts = false;
    run.updateCommand();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].title, "Error");
    EXPECT_FALSE(run.timerOn());
    EXPECT_TRUE(observer.buttons);
}

TEST_F(UpdateRunTest, MissingSettingsStopsTheTickWithButtonsBack) {
    writeRoster({});
    run.updateCommand();
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0],
              errorMessage("\"settings.dat\" could not be found. Click Settings to create a new "
                           "file with default settings."));
    EXPECT_EQ(observer.caption, "Updating...");
    EXPECT_EQ(observer.stage, 3);
    EXPECT_TRUE(observer.buttons);
    EXPECT_FALSE(run.timerOn());
    EXPECT_FALSE(folder.exists("download.bat"));
    EXPECT_TRUE(folder.exists("download/EndOfRoster.html"));
    EXPECT_EQ(processes.uploads, 0);
}

TEST_F(UpdateRunTest, RosterGoneBeforeTheSentinelIsReported) {
    writeRoster({});
    run.updateCommand();
    std::filesystem::remove(folder / "roster.txt");
    folder.write("download/EndOfRoster.html", "");
    run.tick();
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text, kRosterFound);
    EXPECT_TRUE(observer.buttons);
}

TEST_F(UpdateRunTest, AWholeRunWithAnEmptyRosterEndsIdle) {
    writeRoster({});
    writeSettings();
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
    EXPECT_EQ(run.outcome(), RunOutcome::Completed);
    // A second tick after the run does nothing.
    run.tick();
    EXPECT_EQ(observer.messages.size(), 1u);
}

} // namespace quenmark
