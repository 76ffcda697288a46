#include "core/harvest/download_batch.h"
#include "core/model/text_file.h"
#include "platform/batch_interpreter.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
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
        const char* program; // the folder of a change of folder
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
        {"cd ..\\lynx", BatchLine::Kind::ChangeFolder, "../lynx", {}, ""},
        {"", BatchLine::Kind::Skip, "", {}, ""},
        {"rem a note", BatchLine::Kind::Skip, "", {}, ""},
        {"@echo off", BatchLine::Kind::Skip, "", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const BatchLine parsed = parseBatchLine(c.line);
        EXPECT_EQ(parsed.kind, c.kind);
        EXPECT_EQ(parsed.kind == BatchLine::Kind::ChangeFolder ? parsed.folder : parsed.program,
                  c.program);
        EXPECT_EQ(parsed.arguments, c.arguments);
        EXPECT_EQ(parsed.target, c.target);
    }
}

// Every line runs, from the folder the batch changed to, whatever the lines
// before it met: a program missing or hanging, a folder missing.
TEST(BatchInterpreter, RunsEveryLineWhateverTheOnesBeforeItMet) {
    TempFolder folder;
    folder.makeFolders({"lynx", "download"});
    // The program in the current folder comes before the one on PATH.
    writeScript(folder, "lynx/echo", "printf 'local:%s|' \"$@\"\n");
    writeScript(folder, "lynx/hang", "echo started\nsleep 30\n");
    folder.write(
        "download.bat",
        crlf({"cd lynx", "echo a&b \"c d\" 100%% >..\\download\\one.html",
              "no-such-program -x >\"..\\download\\two.html\"", "hang >..\\download\\hang.txt",
              "printf path >..\\download\\path.txt", "cd nowhere", "printf x >no\\such\\folder.txt",
              "echo second >..\\download\\three.html", "cd ..",
              "lynx\\echo back >download\\four.html"}));
    folder.write("download/two.html", "stale content");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path(), std::chrono::milliseconds(300)),
              0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const std::pair<const char*, const char*> files[] = {
        {"one.html", "local:a&b|local:c d|local:100%|"},
        // The target is emptied before the program runs, even one that does not exist.
        {"two.html", ""},
        {"hang.txt", "started\n"},
        {"path.txt", "path"},
        {"three.html", "local:second|"},
        {"four.html", "local:back|"},
    };
    for (const auto& [name, content] : files) {
        EXPECT_TRUE(folder.exists(std::string("download/") + name)) << name;
        EXPECT_EQ(folder.read(std::string("download/") + name), content) << name;
    }
    EXPECT_EQ(runBatchFile(folder / "missing.bat", folder.path()), 1);
}

// Whatever the base name holds, the batch makes the interpreter create exactly
// "download/" + base name + ".html", where the page parser looks for it.
TEST(BatchInterpreter, BaseNamesRoundTripThroughTheBatch) {
    TempFolder folder;
    folder.makeFolders({"lynx", "download"});
    writeScript(folder, "lynx/lynx", "printf '%s' \"$2\"\n");
    MemberTable members;
    for (const std::string name : {"a%%b", "50%", "x^y", "%PATH%", "Ann Lee", "&(|)<>"}) {
        members.emplace_back();
        members.back().Name = name;
        members.back().Page = "http://p/" + name;
    }
    folder.write("download.bat", downloadBatchText(members, InvalidNameTable()));
    EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path()), 0);
    for (const MemberRecord& member : members)
        EXPECT_EQ(folder.read("download/" + member.Name + ".html"), member.Page) << member.Name;
}

// Twelve fetches by a stand-in browser that writes its page in two parts; the
// second member is slow and shares its file with the ninth, which must win.
// The sentinel's fetch checks that every member page is complete and logged as
// done; every fetch notes how many fetches were under way and checks that each
// page logged as done is complete (but 2.html, which the ninth line rewrites).
TEST(BatchInterpreter, FetchesAtOnceLeaveTheFilesOfALineByLineRun) {
    for (const int jobs : {1, 3}) {
        SCOPED_TRACE(jobs);
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
        const auto page = [](int i) { return std::to_string(i == 9 ? 2 : i); };
        std::string batch = "cd lynx\r\n";
        std::vector<std::string> expectedDone = {"../download/EndOfRoster.html"};
        for (int i = 1; i <= 12; ++i) {
            batch += "lynx -source http://a/" + std::string(i == 2 ? "slow" : "") +
                     std::to_string(i) + " >\"..\\download\\" + page(i) + ".html\"\r\n";
            expectedDone.push_back("../download/" + page(i) + ".html");
        }
        folder.write("download.bat",
                     batch + "lynx -source sentinel >..\\download\\EndOfRoster.html\r\ncd ..\r\n");

        EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path(), kProgramTimeLimit, jobs,
                               folder / "download.done"),
                  0);
        EXPECT_FALSE(folder.exists("download/9.html"));
        EXPECT_FALSE(folder.exists("early")) << folder.read("early");
        std::vector<std::string> done = splitLines(folder.read("download.done"));
        std::sort(done.begin(), done.end());
        std::sort(expectedDone.begin(), expectedDone.end());
        EXPECT_EQ(done, expectedDone);
        for (int i = 1; i <= 12; ++i) {
            if (i == 9)
                continue;
            EXPECT_EQ(folder.read("download/" + page(i) + ".html"),
                      "page http://a/" + std::to_string(i == 2 ? 9 : i) + "\nend\n")
                << i;
        }
        EXPECT_EQ(folder.read("download/EndOfRoster.html"), "");
        std::istringstream counts(folder.read("under-way.txt"));
        int most = 0;
        for (int count; counts >> count;)
            most = std::max(most, count);
        EXPECT_LE(most, jobs);
        EXPECT_GE(most, jobs == 1 ? 1 : 2);
    }
}

} // namespace quenmark
