#include "core/files/enforced_times_file.h"

#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"

#include <algorithm>

namespace quenmark {

namespace {

constexpr std::size_t kEntryLines = 5;

std::filesystem::path timesFile(const std::filesystem::path& mainFolder) {
    return mainFolder / kEnforcedTimesFile;
}

int positionValue(const std::string& text) {
    return toInt32(leadingNumber(text));
}

bool matches(const EnforcedTime& entry, const std::string& memberName, int level, int difficulty) {
    return entry.memberName == memberName && entry.level == level && entry.difficulty == difficulty;
}

void appendEntryLines(TextBuilder& text, const EnforcedTime& entry) {
    text.line(entry.memberName)
        .line(entry.levelText)
        .line(entry.difficultyText)
        .line(entry.time)
        .line("");
}

} // namespace

std::vector<EnforcedTime> enforcedTimesFromText(std::string_view content) {
    const std::vector<std::string> lines = splitLines(content);
    std::vector<EnforcedTime> entries;
    for (std::size_t i = 0; i < lines.size(); i += kEntryLines) {
        const std::size_t available = lines.size() - i;
        EnforcedTime entry;
        entry.memberName = lines[i];
        if (available > 1)
            entry.levelText = lines[i + 1];
        if (available > 2)
            entry.difficultyText = lines[i + 2];
        if (available > 3)
            entry.time = lines[i + 3];
        entry.level = positionValue(entry.levelText);
        entry.difficulty = positionValue(entry.difficultyText);
        // The separator line carries nothing: an entry whose time line is there
        // is whole even when the file ends before its separator.
        entry.complete = available > 3;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string enforcedTimesText(const std::vector<EnforcedTime>& entries) {
    TextBuilder text;
    for (const EnforcedTime& entry : entries)
        appendEntryLines(text, entry);
    return text.text();
}

std::vector<EnforcedTime> readEnforcedTimes(const std::filesystem::path& mainFolder) {
    const auto bytes = readFileBytes(timesFile(mainFolder), kEnforcedTimesFile);
    return bytes ? enforcedTimesFromText(*bytes) : std::vector<EnforcedTime>{};
}

void writeEnforcedTimes(const std::filesystem::path& mainFolder,
                        const std::vector<EnforcedTime>& entries) {
    replaceFile(timesFile(mainFolder), enforcedTimesText(entries), Durability::Synced);
}

void appendEnforcedTime(const std::filesystem::path& mainFolder, const std::string& memberName,
                        int level, int difficulty, const std::string& time) {
    // The old bytes stay as they are and the five new lines follow; the whole is
    // replaced atomically, so a power cut never leaves half an entry. A last
    // line without its line end, or an entry cut short, is completed first so
    // that the new entry is read as an entry of its own.
    std::string content = readFileBytes(timesFile(mainFolder), kEnforcedTimesFile).value_or("");
    if (!content.empty() && content.back() != '\n')
        content += "\r\n";
    for (std::size_t n = splitLines(content).size(); n % kEntryLines != 0; ++n)
        content += "\r\n";
    TextBuilder entry;
    entry.line(memberName).numberLine(level).numberLine(difficulty).line(time).line("");
    content += entry.text();
    replaceFile(timesFile(mainFolder), content, Durability::Synced);
}

std::string findEnforcedTime(const std::filesystem::path& mainFolder, const std::string& memberName,
                             int level, int difficulty) {
    std::string found;
    for (const EnforcedTime& entry : readEnforcedTimes(mainFolder))
        if (matches(entry, memberName, level, difficulty))
            found = entry.time;
    return found;
}

void setEnforcedTime(const std::filesystem::path& mainFolder, const std::string& memberName,
                     int level, int difficulty, const std::string& time) {
    removeReplacementLeftovers(mainFolder);
    std::vector<EnforcedTime> entries = readEnforcedTimes(mainFolder);
    if (time.empty()) {
        std::erase_if(entries, [&](const EnforcedTime& entry) {
            return matches(entry, memberName, level, difficulty);
        });
        writeEnforcedTimes(mainFolder, entries);
        return;
    }
    bool matched = false;
    for (EnforcedTime& entry : entries) {
        if (matches(entry, memberName, level, difficulty)) {
            entry.time = time;
            matched = true;
        }
    }
    if (matched)
        writeEnforcedTimes(mainFolder, entries);
    else
        appendEnforcedTime(mainFolder, memberName, level, difficulty, time);
}

bool isTimeText(std::string_view text) {
    if (text.size() == 3 && (text[0] == 'N' || text[0] == 'n') && text[1] == '/' &&
        (text[2] == 'A' || text[2] == 'a'))
        return true;
    const std::size_t colon = text.find(':');
    const auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return colon != std::string_view::npos && colon > 0 && text.size() - colon == 3 &&
           digits(text.substr(0, colon)) && digits(text.substr(colon + 1));
}

} // namespace quenmark
