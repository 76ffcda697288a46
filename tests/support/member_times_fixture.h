// Pages, time files and main folders for the tests of reading the times, written
// by hand from the formats rather than by the code under test.
#pragma once

#include "core/model/member_record.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace quenmark {

inline std::string join(const std::vector<std::string>& lines, const char* end) {
    std::string text;
    for (const auto& line : lines)
        text += line + end;
    return text;
}

inline std::string clockText(int seconds) {
    const int s = seconds % 60;
    return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

inline std::string row(int level, const std::string& rookie, const std::string& veteran,
                       const std::string& master) {
    return "<tr><td>" + std::string(kLevelNames[level]) + "</td><td>" + rookie + "</td><td>" +
           veteran + "</td><td>" + master + "</td></tr>";
}

// A member page of 14 rows; cell c holds cellText(c).
template <typename F> std::vector<std::string> pageLines(F cellText) {
    std::vector<std::string> lines = {"<html><body><h1>My times</h1>", "<table border=1>"};
    for (int l = 0; l < kLevelCount; ++l)
        lines.push_back(row(l, cellText(l), cellText(l + 14), cellText(l + 28)));
    lines.push_back("</table></body></html>");
    return lines;
}

template <typename F> std::string pageOf(F cellText) {
    return join(pageLines(cellText), "\r\n");
}

inline std::string pageWith(int base) {
    return pageOf([base](int c) { return clockText(base + c); });
}

// A time-file line: zones of 14 characters at positions 1, 15 and 29.
inline std::string zones(const std::string& a, const std::string& b, const std::string& c) {
    return a + std::string(14 - a.size(), ' ') + b + std::string(14 - b.size(), ' ') + c;
}

inline std::string number(int v) {
    return (v < 0 ? "-" : " ") + std::to_string(std::abs(v)) + " ";
}

// An entry of times.dat: the name, the level and difficulty as numbers, the time.
inline std::string timesEntry(const std::string& name, int level, int difficulty,
                              const std::string& time) {
    return crlf({name, number(level), number(difficulty), time, ""});
}

template <typename F> std::string timeFileOf(F value) {
    std::string text;
    for (int l = 0; l < kLevelCount; ++l)
        text += zones(number(value(l)), number(value(l + 14)), number(value(l + 28))) + "\r\n";
    return text;
}

inline std::string timeFileWith(int base) {
    return timeFileOf([base](int c) { return base + c; });
}

inline CellTimes timesFrom(int base) {
    CellTimes t{};
    for (int c = 0; c < kCellCount; ++c)
        t[c] = static_cast<std::int16_t>(base + c);
    return t;
}

inline CellTimes filled(int value) {
    CellTimes t{};
    t.fill(static_cast<std::int16_t>(value));
    return t;
}

// A main folder with the files an update run expects, all empty.
struct MainFolder : TempFolder {
    MainFolder() {
        makeFolders({"download"});
        write("errors.txt", "");
        write("invalidchrs.dat", "");
        write("times.dat", "");
    }
};

} // namespace quenmark
