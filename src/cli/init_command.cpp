#include "cli/init_command.h"

#include "cli/headless_runner.h"
#include "cli/usage.h"
#include "core/files/settings_file.h"
#include "core/model/text_file.h"
#include "platform/new_file.h"

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

constexpr std::array<const char*, 4> kFolders = {"lynx", "download", "templates", "upload"};
constexpr std::array<const char*, 4> kEmptyFiles = {"roster.txt", "banned.txt", "invalidchrs.dat",
                                                    "times.dat"};
// Copied from the example site installed with the program: every template a
// run reads, and a stand-in for the operator's picture that the upload sends.
constexpr std::array<const char*, 8> kExampleFiles = {
    "templates/elite.html",  "templates/elite2.html",  "templates/stage.html",
    "templates/diff.html",   "templates/leaders.html", "templates/roster.html",
    "templates/points.html", "upload/tarvo.jpg"};

// Where the example site lies: installed beside the program, or the source
// tree's examples/ when the program runs from its build folder.
std::vector<fs::path> exampleCandidates() {
    const fs::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    return {(programFolder / QUENMARK_DATA_FROM_BIN).lexically_normal(),
            fs::path(QUENMARK_SOURCE_EXAMPLES)};
}

std::optional<fs::path> findExamples() {
    std::error_code ec;
    for (const fs::path& candidate : exampleCandidates())
        if (fs::is_regular_file(candidate / kExampleFiles.front(), ec))
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

void makeMainFolder(const fs::path& folder, const fs::path& examples) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw FileError(
            "The main folder \"" + folder.string() + "\" could not be made" +
            (fs::exists(fs::symlink_status(folder, ec)) ? ": the name is taken." : "."));
    std::cout << "Main folder " << fs::absolute(folder).lexically_normal().string() << "\n";

    FolderMaker maker(folder);
    for (const char* name : kFolders)
        maker.folder(name);
    for (const char* name : kEmptyFiles)
        maker.file(name, "");
    // It holds the FTP password.
    maker.file(kSettingsFile, settingsText(defaultSettings()), FileAccess::OwnerOnly);
    for (const char* name : kExampleFiles) {
        const std::string shownName = (examples / name).string();
        const auto bytes = readFileBytes(examples / name, shownName);
        if (!bytes)
            throw cannotRead(shownName);
        maker.file(name, *bytes);
    }

    if (!maker.keptNames().empty()) {
        std::cout << "Left alone, as they were already there:\n";
        for (const std::string& name : maker.keptNames())
            std::cout << "  " << name << "\n";
    }
    std::cout << "Next: the FTP account in settings.dat (or the Settings window), members\n"
                 "(the Members window), your picture as upload/tarvo.jpg; then\n"
                 "\"quenmark-updater update\" in the main folder publishes the site.\n";
}

} // namespace

bool lacksWhatInitMakes(const fs::path& folder) {
    std::vector<std::string> names(kFolders.begin(), kFolders.end());
    names.insert(names.end(), kEmptyFiles.begin(), kEmptyFiles.end());
    names.insert(names.end(), kExampleFiles.begin(), kExampleFiles.end());
    names.emplace_back(kSettingsFile);
    std::error_code ec;
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return !fs::exists(fs::symlink_status(folder / name, ec));
    });
}

QString initHelp() {
    return "Usage: quenmark-updater init [DIR]\n"
           "Makes a new main folder DIR (default: the current directory): the folders lynx,\n"
           "download, templates and upload; an empty roster.txt, banned.txt, invalidchrs.dat\n"
           "and times.dat; settings.dat with the default settings; the example templates and\n"
           "upload/tarvo.jpg. A file that is already there is left alone and listed.\n"
           "\n"
           "Options:\n"
           "  --help           this text\n";
}

int initCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, {}, initHelp()))
        return *done;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 2 || (positional.size() == 2 && positional[1].isEmpty()))
        return usageError("init takes at most one folder.");
    const fs::path folder =
        positional.size() == 2 ? positional[1].toLocal8Bit().toStdString() : ".";

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
    return kExitCompleted;
}

} // namespace quenmark
