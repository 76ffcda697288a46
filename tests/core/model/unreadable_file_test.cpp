#include "core/files/enforced_times_file.h"
#include "core/files/members_file.h"
#include "core/files/settings_file.h"
#include "core/harvest/error_log.h"
#include "core/harvest/page_parser.h"
#include "core/harvest/time_file.h"
#include "core/main_folder.h"
#include "core/model/invalid_names.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"
#include "core/pages/template_filler.h"
#include "core/standings/enforced_times.h"
#include "tests/support/temp_folder.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

namespace {

// The ways a file can be there and yet not be readable. A folder and a FIFO
// bite whatever account runs the tests; a file without read permission only
// where permissions hold (not for root).
enum class Blocker { Folder, Fifo, NoPermission };

// Puts the blocker at name; false when it would not block here.
bool block(const TempFolder& folder, const std::string& name, Blocker blocker) {
    const std::filesystem::path path = folder / name;
    std::filesystem::remove(path);
    switch (blocker) {
    case Blocker::Folder:
        std::filesystem::create_directories(path / "inside");
        return true;
    case Blocker::Fifo:
        return ::mkfifo(path.c_str(), 0644) == 0;
    case Blocker::NoPermission:
        folder.write(name, "Ann\r\n 3 \r\n\r\n");
        ::chmod(path.c_str(), 0);
        return ::access(path.c_str(), R_OK) != 0;
    }
    return false;
}

// What stands at the path, to see that nothing was written over it.
std::string state(const std::filesystem::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return "none";
    return std::to_string(info.st_mode) + "/" + std::to_string(info.st_ino) + "/" +
           std::to_string(info.st_size) + (std::filesystem::exists(path / "inside") ? "+" : "");
}

using Path = std::filesystem::path;

void throwProblem(const MemberSequenceRead& read) {
    if (read.problem)
        throw FileError(read.problem->text);
}

} // namespace

TEST(UnreadableFile, IsReportedByNameAndNeverWrittenOver) {
    MemberRecord ann, bob;
    bob.Name = "Bob";
    MemberSequence members;
    ErrorLog errors{Path()};
    const std::pair<std::string, std::function<void(const Path&)>> cases[] = {
        {"roster.txt",
         [](const Path& f) {
             throw FileError(memberFileProblemText(readRoster(f).status, kRosterFile));
         }},
        {"roster.txt", [](const Path& f) { throwProblem(sortMemberFiles(f)); }},
        {"banned.txt", [](const Path& f) { throwProblem(sortMemberFiles(f)); }},
        {"roster.txt", [&](const Path& f) { addMember(f, bob, false); }},
        {"invalidchrs.dat", [](const Path& f) { InvalidNameTable::read(f); }},
        {"invalidchrs.dat",
         [&](const Path& f) { deleteMember(f, members = readMemberSequence(f).sequence, 0); }},
        {"invalidchrs.dat",
         [&](const Path& f) {
             members = readMemberSequence(f).sequence;
             saveMember(f, members, 0, bob, MemberStatus::Active, true);
         }},
        {"invalidchrs.dat", [](const Path& f) { hasInvalidNameLine(f, "Ann"); }},
        {"times.dat", [](const Path& f) { setEnforcedTime(f, "Ann", 1, 1, "1:00"); }},
        {"times.dat", [](const Path& f) { setEnforcedTime(f, "Ann", 1, 1, ""); }},
        {"times.dat", [](const Path& f) { EnforcedTimes::read(f, 1200); }},
        {"settings.dat", [](const Path& f) { loadSettings(f); }},
        {"templates/elite.html",
         [](const Path& f) { (void)fillTemplate(f, "elite.html", "elite.htm", 1, {}); }},
        {"download/Ann.txt", [&](const Path& f) { readTimeFile(f, ann, "Ann"); }},
        {"download/Ann.txt", [&](const Path& f) { writeTimeFile(f, ann, "Ann"); }},
        {"download/Ann.html",
         [&](const Path& f) {
             finishMember(f, ann, "Ann", parseMemberPage(f, ann, "Ann", 1200), 1200, errors);
         }},
    };
    for (Blocker blocker : {Blocker::Folder, Blocker::Fifo, Blocker::NoPermission}) {
        for (const auto& [file, operation] : cases) {
            TempFolder folder;
            folder.makeFolders({"download", "templates", "upload"});
            folder.write("roster.txt", crlf({"Ann", "An", "red", "page", "mail", ""}));
            folder.write("banned.txt", "");
            folder.write("invalidchrs.dat", crlf({"Ann", " 3 ", ""}));
            if (!block(folder, file, blocker))
                continue; // permissions do not hold for this account
            const std::string before = state(folder / file);
            const std::string roster = file == "roster.txt" ? "" : folder.read("roster.txt");
            SCOPED_TRACE(file + " blocked as " + std::to_string(static_cast<int>(blocker)));
            try {
                operation(folder.path());
                ADD_FAILURE() << "no error";
            } catch (const FileError& error) {
                const char* reason = blocker == Blocker::NoPermission ? " (permission denied)" : "";
                EXPECT_EQ(error.what(), "\"" + file + "\" could not be read" + reason + ".");
            }
            EXPECT_EQ(state(folder / file), before);
            if (file != "roster.txt") {
                EXPECT_EQ(folder.read("roster.txt"), roster);
            }
            ::chmod((folder / file).c_str(), 0644); // so the folder can be removed
        }
    }
}

} // namespace quenmark
