#include "core/harvest/download_batch.h"
#include "core/model/text_file.h"
#include "platform/batch_interpreter.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quenmark {

namespace {

void writeScript(const TempFolder& folder, const std::string& name, const std::string& body) {
    folder.write(name, "#!/bin/sh\n" + body);
    ::chmod((folder / name).c_str(), 0755);
}

} // namespace

TEST(BatchInterpreter, SplitsLinesAsTheInterpreterDoes) {
    const struct {
        const char* line;
        BatchLine::Kind kind;
        const char* program;
        std::vector<std::string> arguments;
        const char* target;
    } cases[] = {
        {"lynx -source http://a/ >\"..\\download\\Ann Lee.html\"",
         BatchLine::Kind::Run,
         "lynx",
         {"-source", "http://a/"},
         "../download/Ann Lee.html"},
        {"lynx -source \"http://a/?x=1&y=%%22\" >..\\download\\EndOfRoster.html",
         BatchLine::Kind::Run,
         "lynx",
         {"-source", "http://a/?x=1&y=%22"},
         "../download/EndOfRoster.html"},
        {"lynx -source http://a/a&b|c^(d) >out",
         BatchLine::Kind::Run,
         "lynx",
         {"-source", "http://a/a&b|c^(d)"},
         "out"},
        {"  tool  one\ttwo>x.txt", BatchLine::Kind::Run, "tool", {"one", "two"}, "x.txt"},
        {"..\\bin\\tool", BatchLine::Kind::Run, "../bin/tool", {}, ""},
        {"", BatchLine::Kind::Skip, "", {}, ""},
        {"rem a note", BatchLine::Kind::Skip, "", {}, ""},
        {"@echo off", BatchLine::Kind::Skip, "", {}, ""},
    };
    for (const auto& c : cases) {
        const BatchLine parsed = parseBatchLine(c.line);
        EXPECT_EQ(parsed.kind, c.kind) << c.line;
        EXPECT_EQ(parsed.program, c.program) << c.line;
        EXPECT_EQ(parsed.arguments, c.arguments) << c.line;
        EXPECT_EQ(parsed.target, c.target) << c.line;
    }
    const BatchLine cd = parseBatchLine("cd ..\\lynx");
    EXPECT_EQ(cd.kind, BatchLine::Kind::ChangeFolder);
    EXPECT_EQ(cd.folder, "../lynx");
}

TEST(BatchInterpreter, RunsEveryLineFromTheFolderItChangedTo) {
    TempFolder folder;
    folder.makeFolders({"lynx", "download"});
    // The program in the current folder comes before the one on PATH.
    writeScript(folder, "lynx/echo", "printf 'local:%s|' \"$@\"\n");
    folder.write("download.bat", crlf({"cd lynx", "echo a&b \"c d\" 100%% >..\\download\\one.html",
                                       "no-such-program -x >\"..\\download\\two.html\"",
                                       "echo second >..\\download\\three.html", "cd ..",
                                       "lynx\\echo back >download\\four.html"}));
    folder.write("download/two.html", "stale content");
    EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path()), 0);
    EXPECT_EQ(folder.read("download/one.html"), "local:a&b|local:c d|local:100%|");
    // The target is created (emptied) before the program runs, even when the
    // program does not exist; the lines after it still run.
    EXPECT_TRUE(folder.exists("download/two.html"));
    EXPECT_EQ(folder.read("download/two.html"), "");
    EXPECT_EQ(folder.read("download/three.html"), "local:second|");
    EXPECT_EQ(folder.read("download/four.html"), "local:back|");
}

// Whatever the base name holds, the batch makes the interpreter create exactly
// "download/" + base name + ".html", where the page parser looks for it.
TEST(BatchInterpreter, BaseNamesRoundTripThroughTheBatch) {
    TempFolder folder;
    folder.makeFolders({"lynx", "download"});
    writeScript(folder, "lynx/lynx", "printf '%s' \"$2\"\n");
    const std::vector<std::string> names = {"a%%b", "50%", "x^y", "%PATH%", "Ann Lee", "&(|)<>"};
    MemberTable members;
    for (const std::string& name : names) {
        MemberRecord m;
        m.Name = name;
        m.Page = "http://p/" + name;
        members.push_back(m);
    }
    folder.write("download.bat", downloadBatchText(members, InvalidNameTable()));
    EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path()), 0);
    for (const std::string& name : names)
        EXPECT_TRUE(folder.exists("download/" + name + ".html")) << name;
    EXPECT_EQ(folder.read("download/a%%b.html"), "http://p/a%%b");
}

TEST(BatchInterpreter, AProgramOnPathRunsWhenTheFolderHasNone) {
    TempFolder folder;
    folder.write("b.bat", crlf({"printf hello >out.txt"}));
    runBatchFile(folder / "b.bat", folder.path());
    EXPECT_EQ(folder.read("out.txt"), "hello");
}

TEST(BatchInterpreter, AHangingProgramIsEndedAndTheNextLineRuns) {
    TempFolder folder;
    writeScript(folder, "hang", "echo started\nsleep 30\n");
    folder.write("b.bat", crlf({"hang >first.txt", "printf done >second.txt"}));
    const auto start = std::chrono::steady_clock::now();
    runBatchFile(folder / "b.bat", folder.path(), std::chrono::milliseconds(300));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(folder.read("first.txt"), "started\n");
    EXPECT_EQ(folder.read("second.txt"), "done");
}

TEST(BatchInterpreter, AMissingBatchOrTargetFolderDoesNotStopIt) {
    TempFolder folder;
    EXPECT_EQ(runBatchFile(folder / "missing.bat", folder.path()), 1);
    folder.write("b.bat",
                 crlf({"cd nowhere", "printf x >no\\such\\folder.txt", "printf y >ok.txt"}));
    EXPECT_EQ(runBatchFile(folder / "b.bat", folder.path()), 0);
    EXPECT_EQ(folder.read("ok.txt"), "y");
}

// Twelve fetches by a stand-in browser that writes its page in two parts; the
// second member is slow and shares its file with the ninth, which must win.
// The sentinel's fetch checks that every member page is complete and logged as
// done; every fetch notes how many fetches were under way and checks that each
// page logged as done is complete (but 2.html, which the ninth line rewrites).
TEST(BatchInterpreter, FetchesAtOnceLeaveTheFilesOfALineByLineRun) {
    for (const int jobs : {1, 3}) {
        TempFolder folder;
        folder.makeFolders({"lynx", "download", "running"});
        writeScript(folder, "lynx/lynx", R"(
if [ "$2" = sentinel ]; then
    for page in ../download/*.html; do
        [ "$page" = ../download/EndOfRoster.html ] || tail -n 1 "$page" | grep -qx end ||
            echo "incomplete $page"
    done
    [ $(wc -l <../download.done) -eq 12 ] || echo "members not all done"
    exit 0
fi
while read -r page; do
    [ "$page" = ../download/2.html ] || tail -n 1 "$page" | grep -qx end || echo "$page" >>../early
done <../download.done
touch ../running/$$
ls ../running | wc -l >>../under-way.txt
case "$2" in *slow*) sleep 1 ;; esac
printf 'page %s
' "$2"
sleep 0.2
echo end
rm ../running/$$
)");
        std::vector<std::string> lines = {"cd lynx"};
        for (int i = 1; i <= 12; ++i) {
            const std::string name = i == 9 ? "2" : std::to_string(i);
            lines.push_back("lynx -source http://a/" + std::string(i == 2 ? "slow" : "") +
                            std::to_string(i) + " >\"..\\download\\" + name + ".html\"");
        }
        lines.push_back("lynx -source sentinel >..\\download\\EndOfRoster.html");
        lines.push_back("cd ..");
        std::string batch;
        for (const std::string& line : lines)
            batch += line + "\r\n";
        folder.write("download.bat", batch);

        EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path(), kProgramTimeLimit, jobs,
                               folder / "download.done"),
                  0);
        EXPECT_FALSE(folder.exists("download/9.html"));
        EXPECT_FALSE(folder.exists("early")) << folder.read("early");
        std::vector<std::string> done = splitLines(folder.read("download.done"));
        std::sort(done.begin(), done.end());
        EXPECT_EQ(done, (std::vector<std::string>{
                            "../download/1.html", "../download/10.html", "../download/11.html",
                            "../download/12.html", "../download/2.html", "../download/2.html",
                            "../download/3.html", "../download/4.html", "../download/5.html",
                            "../download/6.html", "../download/7.html", "../download/8.html",
                            "../download/EndOfRoster.html"}));
        for (int i = 1; i <= 12; ++i) {
            const std::string name = std::to_string(i);
            if (i == 9)
                continue;
            EXPECT_EQ(folder.read("download/" + name + ".html"),
                      "page http://a/" + std::string(i == 2 ? "9" : name) + "\nend\n")
                << "jobs " << jobs << ", page " << name;
        }
        EXPECT_EQ(folder.read("download/EndOfRoster.html"), "") << "jobs " << jobs;
        std::string counts = folder.read("under-way.txt");
        int most = 0;
        for (std::size_t at = 0; at < counts.size();) {
            const std::size_t end = counts.find('\n', at);
            most = std::max(most, std::stoi(counts.substr(at, end - at)));
            at = end + 1;
        }
        EXPECT_LE(most, jobs);
        EXPECT_GE(most, jobs == 1 ? 1 : 2);
    }
}

TEST(BatchInterpreter, TheSubcommandRunsABatchInItsCurrentFolder) {
    TempFolder folder;
    folder.makeFolders({"lynx", "download"});
    writeScript(folder, "lynx/lynx", "printf 'page of %s' \"$2\"\n");
    folder.write("download.bat",
                 crlf({"cd lynx", "lynx -source http://a/ >\"..\\download\\Ann.html\"", "cd .."}));
    const std::string command =
        "cd '" + folder.path().string() + "' && '" QUENMARK_EXE "' run-batch download.bat";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(folder.read("download/Ann.html"), "page of http://a/");
}

} // namespace quenmark
