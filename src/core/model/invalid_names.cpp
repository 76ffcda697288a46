#include "core/model/invalid_names.h"

#include "core/main_folder.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace quenmark {

namespace {

// A number from invalidchrs.dat as a base name: plain digits, no blanks.
std::string plainNumberText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

} // namespace

InvalidNameTable::InvalidNameTable(const std::vector<std::string>& lines) {
    // A scan for one name skips the line after each of its matches; lines equal
    // to that name are visited in order, so replaying the skips per name gives
    // the scan's result without scanning the file once per member.
    std::unordered_map<std::string, std::size_t> lastMatch;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto found = lastMatch.find(lines[i]);
        if (found != lastMatch.end() && found->second + 1 == i)
            continue; // consumed as the number of the match just before
        if (i + 1 >= lines.size())
            continue; // a name with no number line after it
        lastMatch[lines[i]] = i;
        m_numbers[lines[i]] = plainNumberText(leadingNumber(lines[i + 1]));
    }
}

InvalidNameTable InvalidNameTable::read(const std::filesystem::path& mainFolder) {
    auto lines = readLines(mainFolder / kInvalidNamesFile, kInvalidNamesFile);
    return lines ? InvalidNameTable(*lines) : InvalidNameTable();
}

std::string InvalidNameTable::memberFileName(const std::string& name) const {
    const auto found = m_numbers.find(name);
    return found == m_numbers.end() ? name : found->second;
}

bool isUsableBaseName(std::string_view baseName) {
    // The page file's name, base name + ".html", must fit the file system's 255 bytes.
    if (baseName.size() > 250)
        return false;
    // The member's page would be taken for the end of the downloads.
    const std::string_view sentinel = kSentinelName;
    if (baseName.size() == sentinel.size() &&
        std::equal(baseName.begin(), baseName.end(), sentinel.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        }))
        return false;
    for (char c : baseName) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == '"' || byte < 0x20 || byte == 0x7f)
            return false;
    }
    return true;
}

} // namespace quenmark
