// A member's page against his time file: which times he keeps, whether the
// time file is rewritten, and his line in errors.txt.
#include "core/harvest/error_log.h"
#include "core/harvest/page_parser.h"
#include "core/harvest/time_file.h"
#include "tests/support/member_times_fixture.h"

#include <gtest/gtest.h>
#include <optional>

namespace quenmark {

namespace {

constexpr int kPenalty = 900;

CellTimes with(CellTimes times, int cell, int value) {
    times[cell] = static_cast<std::int16_t>(value);
    return times;
}

} // namespace

TEST(FinishMember, FallbackMatrix) {
    const std::string good = pageWith(100);
    const std::string allNa = pageOf([](int) { return std::string("N/A"); });
    // The test is on the sum: a time equal to the penalty among N/As meets it too.
    const std::string allNaButOne =
        pageOf([](int c) { return c == 7 ? clockText(kPenalty) : std::string("n/a"); });
    const std::string implausible =
        pageOf([](int c) { return c == 20 ? std::string("0:04") : clockText(100 + c); });
    const CellTimes page = timesFrom(100), file = timesFrom(2000), penalty = filled(kPenalty);
    const struct {
        const char* name;
        std::optional<std::string> page; // nullopt: no page file
        bool hasTimeFile;
        CellTimes times;
        CellTimes summed;    // the times the difficulty totals are summed from
        bool rewritten;      // the time file holds the times of the run
        const char* logLine; // nullptr: no line
    } cases[] = {
        {"complete page, time file", good, true, page, page, true, nullptr},
        {"complete page, no time file", good, false, page, page, true, nullptr},
        {"no page file, time file", std::nullopt, true, file, file, false, "Ann"},
        {"no page file, no time file", std::nullopt, false, penalty, penalty, false,
         "Ann - No backup!"},
        {"half a table, time file", good.substr(0, good.find("Dusk Patrol")), true, file, file,
         false, "Ann"},
        {"half a table, no time file", good.substr(0, good.find("Dusk Patrol")), false, penalty,
         penalty, false, "Ann - No backup!"},
        {"all N/A, time file", allNa, true, file, penalty, false, nullptr},
        {"all N/A, no time file", allNa, false, penalty, penalty, true, nullptr},
        {"penalties adding up to all N/A, time file", allNaButOne, true, file, penalty, false,
         nullptr},
        {"implausible time, time file", implausible, true, with(page, 20, 2020),
         with(page, 20, 2020), false, nullptr},
        {"implausible time, no time file", implausible, false, with(page, 20, kPenalty),
         with(page, 20, kPenalty), false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainFolder folder;
        if (c.page)
            folder.write("download/Ann.html", *c.page);
        if (c.hasTimeFile)
            folder.write("download/Ann.txt", timeFileWith(2000));

        MemberRecord member;
        member.Name = "Ann";
        member.PageOk = true;
        ErrorLog log(folder.path());
        const PageRead read = parseMemberPage(folder.path(), member, "Ann", kPenalty);
        finishMember(folder.path(), member, "Ann", read, kPenalty, log);
        log.flush();

        EXPECT_EQ(member.Times, c.times);
        for (int d = 0; d < kDifficultyCount; ++d) {
            int sum = 0;
            for (int l = 0; l < kLevelCount; ++l)
                sum += c.summed[cellIndex(l, d)];
            EXPECT_EQ(member.DifficultyTotal[d], sum) << "difficulty " << d;
        }
        EXPECT_EQ(member.PageOk, c.rewritten);
        if (c.rewritten)
            EXPECT_EQ(folder.read("download/Ann.txt"),
                      timeFileOf([&](int i) { return c.times[i]; }));
        else if (c.hasTimeFile)
            EXPECT_EQ(folder.read("download/Ann.txt"), timeFileWith(2000));
        else
            EXPECT_FALSE(folder.exists("download/Ann.txt"));
        EXPECT_EQ(folder.read("errors.txt"), c.logLine ? crlf({c.logLine}) : "");
    }
}

} // namespace quenmark
