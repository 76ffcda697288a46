#include "core/harvest/download_batch.h"
#include "core/model/text_file.h"
#include "platform/batch_interpreter.h"
#include "tests/support/stand_in_processes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace quenmark {

// Every line runs, from the folder the batch changed to, whatever the lines
// before it met: a program missing or hanging, a folder missing. Words are split
// at blanks and tabs; a note is skipped.
TEST(BatchInterpreter, RunsEveryLineWhateverTheOnesBeforeItMet) {
    TempFolder folder;
    folder.makeFolders({"lynx", "download"});
    // The program in the current folder comes before the one on PATH, if it may run.
    writeScript(folder, "lynx/echo", "printf 'local:%s|' \"$@\"\n");
    folder.write("lynx/printf", "not executable");
    writeScript(folder, "lynx/hang", "echo started\nsleep 30\n");
    folder.write(
        "download.bat",
        crlf({"@echo off", "cd lynx", "rem echo >..\\download\\rem.html",
              "echo a&b \"c d\" 100%% >..\\download\\one.html",
              "  echo\tfive  six>..\\download\\five.html",
              "no-such-program -x >\"..\\download\\two.html\"", "hang >..\\download\\hang.txt",
              "printf path >..\\download\\path.txt", "cd nowhere", "printf x >no\\such\\folder.txt",
              "echo second >..\\download\\three.html", "cd ..",
              "lynx\\echo back >download\\four.html"}));
    folder.write("download/two.html", "stale content");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path(), std::chrono::milliseconds(300)),
              0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    // A target is emptied before its program runs, even one that does not exist.
    const std::pair<std::string, const char*> files[] = {
        {"one.html", "local:a&b|local:c d|local:100%|"},
        {"two.html", ""},
        {"hang.txt", "started\n"},
        {"path.txt", "path"},
        {"three.html", "local:second|"},
        {"four.html", "local:back|"},
        {"five.html", "local:five|local:six|"},
        {"rem.html", "none"}};
    for (const auto& [name, content] : files)
        EXPECT_EQ(folder.exists("download/" + name) ? folder.read("download/" + name) : "none",
                  content)
            << name;
    EXPECT_EQ(runBatchFile(folder / "missing.bat", folder.path()), 1);

    // Whatever the base name holds, the batch makes the interpreter create exactly
    // "download/" + base name + ".html", where the page parser looks for it.
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
    for page in ../download/[0-9]*.html; do tail -n 1 "$page" | grep -qx end || echo "$page"; done
    [ $(wc -l <../download.done) -eq 12 ] || echo "members not all done"
    exit 0
fi
while read -r page; do
    [ "$page" = ../download/2.html ] || tail -n 1 "$page" | grep -qx end || echo "$page" >>../early
done <../download.done
touch ../running/$$
ls ../running | wc -l >>../under-way.txt
case "$2" in *slow*) sleep 1 ;; esac
echo "page $2"
sleep 0.2
echo end
rm ../running/$$
)");
        std::string batch = "cd lynx\r\n";
        std::map<std::string, std::string> pages = {{"download/EndOfRoster.html", ""}};
        for (int i = 1; i <= 12; ++i) {
            const std::string url =
                "http://a/" + std::string(i == 2 ? "slow" : "") + std::to_string(i);
            const std::string name = std::to_string(i == 9 ? 2 : i) + ".html";
            batch += "lynx -source " + url + " >\"..\\download\\" + name + "\"\r\n";
            pages["download/" + name] = "page " + url + "\nend\n"; // the later line wins
        }
        folder.write("download.bat",
                     batch + "lynx -source sentinel >..\\download\\EndOfRoster.html\r\ncd ..\r\n");

        EXPECT_EQ(runBatchFile(folder / "download.bat", folder.path(), kProgramTimeLimit, jobs,
                               folder / "download.done"),
                  0);
        EXPECT_FALSE(folder.exists("early")) << folder.read("early");
        // Each line logged once: a name logged wrong is not found by the "early" check.
        EXPECT_EQ(splitLines(folder.read("download.done")).size(), 13u);
        EXPECT_EQ(folder.count("download"), 12);
        for (const auto& [name, content] : pages)
            EXPECT_EQ(folder.read(name), content) << name;
        std::istringstream counts(folder.read("under-way.txt"));
        int most = 0;
        for (int count; counts >> count;)
            most = std::max(most, count);
        EXPECT_LE(most, jobs);
        EXPECT_GE(most, jobs == 1 ? 1 : 2);
    }
}

} // namespace quenmark
