#include "core/files/settings_file.h"

#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"

#include <array>
#include <vector>

namespace quenmark {

namespace {

template <typename Table> auto lookUp(const Table& table, int position, int defaultPosition) {
    if (position < 0 || position >= static_cast<int>(table.size()))
        position = defaultPosition;
    return table[static_cast<std::size_t>(position)];
}

// Reads the file line after line; past its end every line reads as empty.
class LineCursor {
public:
    explicit LineCursor(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
    std::string text() { return m_next < m_lines.size() ? m_lines[m_next++] : (++m_next, ""); }
    std::int16_t number() { return toInt16(leadingNumber(text())); }

private:
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
};

} // namespace

int pointMax(int pointMaxIndex) {
    return lookUp(kPointMaxTable, pointMaxIndex, kDefaultPointMaxIndex);
}
int penaltySeconds(int penaltyIndex) {
    return lookUp(kPenaltySecondsTable, penaltyIndex, kDefaultPenaltyIndex);
}
std::string alignWord(int alignIndex) {
    return lookUp(kAlignWords, alignIndex, kDefaultAlignIndex);
}

OperatorMessage settingsMissingMessage() {
    return errorMessage(std::string("\"") + kSettingsFile +
                        "\" could not be found. Click Settings to create a new file with "
                        "default settings.");
}

SiteSettings defaultSettings() {
    SiteSettings s;
    s.ftpServer = "ftp.quenmark.example";
    s.ftpUser = "quenmark";
    s.ftpPassword = "zebulons";
    s.pointColor = "yellow";
    s.pointMaxIndex = kDefaultPointMaxIndex;
    s.penaltyIndex = kDefaultPenaltyIndex;
    s.alignIndex = kDefaultAlignIndex;
    s.useDirectory = 0;
    s.uploadElite = s.uploadElite2 = s.uploadStage = s.uploadDiff = 1;
    s.uploadLeaders = s.uploadRoster = s.uploadPoints = s.uploadTarvo = 1;
    return s;
}

std::optional<SiteSettings> loadSettings(const std::filesystem::path& mainFolder) {
    auto lines = readLines(mainFolder / kSettingsFile, kSettingsFile);
    if (!lines)
        return std::nullopt;
    return parseSettings(std::move(*lines));
}

SiteSettings parseSettings(std::vector<std::string> lines) {
    LineCursor in(std::move(lines));
    SiteSettings s;
    s.ftpServer = in.text();
    s.ftpUser = in.text();
    s.ftpPassword = in.text();
    s.pointColor = in.text();
    s.pointMaxIndex = in.number();
    s.penaltyIndex = in.number();
    s.alignIndex = in.number();
    s.useDirectory = in.number();
    if (isFlagSet(s.useDirectory))
        s.directory = in.text();
    s.uploadElite = in.number();
    s.uploadElite2 = in.number();
    s.uploadStage = in.number();
    s.uploadDiff = in.number();
    s.uploadLeaders = in.number();
    s.uploadRoster = in.number();
    s.uploadPoints = in.number();
    s.uploadTarvo = in.number();
    return s;
}

std::string settingsText(const SiteSettings& s) {
    TextBuilder out;
    out.line(s.ftpServer).line(s.ftpUser).line(s.ftpPassword).line(s.pointColor);
    out.numberLine(s.pointMaxIndex).numberLine(s.penaltyIndex).numberLine(s.alignIndex);
    out.numberLine(s.useDirectory);
    if (isFlagSet(s.useDirectory))
        out.line(s.directory);
    for (std::int16_t flag : {s.uploadElite, s.uploadElite2, s.uploadStage, s.uploadDiff,
                              s.uploadLeaders, s.uploadRoster, s.uploadPoints, s.uploadTarvo})
        out.numberLine(flag);
    return out.text();
}

void saveSettings(const std::filesystem::path& mainFolder, const SiteSettings& settings) {
    removeReplacementLeftovers(mainFolder);
    replaceFile(mainFolder / kSettingsFile, settingsText(settings), Durability::Synced,
                FileAccess::OwnerOnly);
}

} // namespace quenmark
