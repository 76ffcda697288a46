#include "cli/init_command.h"

#include "cli/headless_runner.h"
#include "cli/usage.h"
#include "core/files/settings_file.h"
#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "core/pages/site_pages.h"
#include "platform/new_file.h"
#include "platform/path_text.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 4> kEmptyFiles = {kRosterFile, kBannedFile, kInvalidNamesFile,
                                                    kEnforcedTimesFile};

// Copied from the example site installed with the program: every template a
// run reads, and a stand-in for the operator's picture that the upload sends.
std::vector<std::string> exampleFiles() {
    std::vector<std::string> names;
    for (const char* templateFile : kSiteTemplates)
        names.push_back(std::string(kTemplatesFolder) + "/" + templateFile);
    names.emplace_back(kPicturePath);
    return names;
}

// A member's page in the form a run reads, for the operator to show members;
// beside the main folder's files, as no run reads it and no upload sends it.
constexpr const char* kSampleMemberPage = "sample-member-page.html";

// Where the example site lies: installed beside the program, or the source
// tree's examples/ when the program runs from its build folder.
std::vector<fs::path> exampleCandidates() {
    const fs::path programFolder = pathFromText(QCoreApplication::applicationDirPath());
    return {(programFolder / QUENMARK_DATA_FROM_BIN).lexically_normal(),
            fs::path(QUENMARK_SOURCE_EXAMPLES)};
}

std::optional<fs::path> findExamples() {
    std::error_code ec;
    for (const fs::path& candidate : exampleCandidates())
        if (fs::is_regular_file(candidate / exampleFiles().front(), ec))
            return candidate;
    return std::nullopt;
}

class FolderMaker {
public:
    explicit FolderMaker(fs::path folder) : m_folder(std::move(folder)) {}

    void folder(const std::string& name) {
        const fs::path path = m_folder / name;
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            m_keptNames.push_back(name + "/");
            return;
        }
        if (!fs::create_directory(path, ec) || ec)
            throw FileError(
                "The folder \"" + path.string() + "\" could not be made" +
                (fs::exists(fs::symlink_status(path, ec)) ? ": the name is taken." : "."));
        report(name + "/");
    }

    void file(const std::string& name, std::string_view content,
              FileAccess access = FileAccess::Default) {
        if (writeNewFile(m_folder / name, content, access) == NewFile::Made)
            report(name);
        else
            m_keptNames.push_back(name);
    }

    const std::vector<std::string>& keptNames() const { return m_keptNames; }

private:
    void report(const std::string& name) { std::cout << "  made " << name << "\n"; }

    fs::path m_folder;
    std::vector<std::string> m_keptNames;
};

// One thing to edit: its name, then what to do with it, in lines one under
// the other.
std::string editItem(std::string name, const std::vector<std::string>& lines) {
    constexpr std::size_t kNameWidth = 18;
    std::string text;
    for (const std::string& line : lines) {
        text += "  " + name + std::string(kNameWidth - name.size(), ' ') + line + "\n";
        name.clear();
    }
    return text;
}

// What the operator edits before the first run, and the defaults init wrote.
std::string nextSteps(bool settingsMade) {
    std::vector<std::string> settings = {
        "the FTP server, user and password (or the Settings window)"};
    if (settingsMade) {
        const SiteSettings made = defaultSettings();
        settings.push_back("now stand-ins: " + made.ftpServer + ", " + made.ftpUser + ", " +
                           made.ftpPassword + ";");
        settings.push_back("the defaults: at most " + std::to_string(pointMax(made.pointMaxIndex)) +
                           " points a cell, " +
                           std::to_string(penaltySeconds(made.penaltyIndex) / 60) +
                           " minutes for N/A,");
        settings.push_back("tables aligned " + alignWord(made.alignIndex) +
                           ", no remote directory, all uploaded");
    }
    return "Next, edit in the main folder:\n" + editItem(kSettingsFile, settings) +
           editItem(kRosterFile,
                    {"six lines a member (or the Members window); a member's page",
                     std::string("lists his times as ") + kSampleMemberPage + " does"}) +
           editItem(std::string(kTemplatesFolder) + "/", {"the design of the site's pages"}) +
           editItem(kPicturePath, {"your site's picture"}) +
           "Then \"quenmark-updater update\" in the main folder publishes the site.\n";
}

void makeMainFolder(const fs::path& folder, const fs::path& examples) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw FileError(
            "The main folder \"" + folder.string() + "\" could not be made" +
            (fs::exists(fs::symlink_status(folder, ec)) ? ": the name is taken." : "."));
    std::cout << "Main folder " << fs::absolute(folder).lexically_normal().string() << "\n";

    FolderMaker maker(folder);
    for (const char* name : kMainFolderFolders)
        maker.folder(name);
    for (const char* name : kEmptyFiles)
        maker.file(name, "");
    // It holds the FTP password.
    maker.file(kSettingsFile, settingsText(defaultSettings()), FileAccess::OwnerOnly);
    std::vector<std::string> copied = exampleFiles();
    copied.emplace_back(kSampleMemberPage);
    for (const std::string& name : copied) {
        const std::string shownName = (examples / name).string();
        const auto bytes = readFileBytes(examples / name, shownName);
        if (!bytes)
            throw cannotRead(shownName);
        maker.file(name, *bytes);
    }

    const std::vector<std::string>& kept = maker.keptNames();
    if (!kept.empty()) {
        std::cout << "Left alone, as they were already there:\n";
        for (const std::string& name : kept)
            std::cout << "  " << name << "\n";
    }
    const bool settingsMade = std::find(kept.begin(), kept.end(), kSettingsFile) == kept.end();
    std::cout << nextSteps(settingsMade);
}

} // namespace

bool lacksWhatInitMakes(const fs::path& folder) {
    std::vector<std::string> names(kMainFolderFolders.begin(), kMainFolderFolders.end());
    names.insert(names.end(), kEmptyFiles.begin(), kEmptyFiles.end());
    const std::vector<std::string> examples = exampleFiles();
    names.insert(names.end(), examples.begin(), examples.end());
    names.emplace_back(kSettingsFile);
    std::error_code ec;
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return !fs::exists(fs::symlink_status(folder / name, ec));
    });
}

CommandUsage initUsage() {
    const QString help =
        "Usage: quenmark-updater init [DIR]\n" +
        wrapped(QString("Makes a new main folder DIR (default: the current directory): the "
                        "folders %1, %2, %3 and %4; an empty %5, %6, %7 and %8; %9 with the "
                        "default settings; the example templates and %10; beside them %11, a "
                        "member's page as a run reads it. A file that is already there is left "
                        "alone and listed.")
                    .arg(kBrowserFolder, kDownloadFolder, kTemplatesFolder, kUploadFolder,
                         kRosterFile, kBannedFile, kInvalidNamesFile, kEnforcedTimesFile,
                         kSettingsFile, kPicturePath, kSampleMemberPage)) +
        "\n" + optionsSection({});
    return {.name = "init",
            .synopsis = "[DIR]",
            .summary = "make a new main folder (default: current directory)",
            .help = help,
            .maxArguments = 1};
}

int initCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, initUsage()))
        return *done;
    const QString folderName = parser.positionalArguments().value(0, ".");
    if (folderName.isEmpty())
        return usageError("init", "the folder name is empty.");
    const fs::path folder = pathFromText(folderName);

    const auto examples = findExamples();
    if (!examples) {
        std::cerr << "Error: The example templates could not be found; looked in:\n";
        for (const fs::path& candidate : exampleCandidates())
            std::cerr << "  " << candidate.string() << "\n";
        return kExitStopped;
    }
    try {
        makeMainFolder(folder, *examples);
    } catch (const FileError& error) {
        std::cout.flush();
        std::cerr << "Error: " << error.what() << std::endl;
        return kExitStopped;
    }
    return afterOutput(kExitCompleted);
}

} // namespace quenmark
