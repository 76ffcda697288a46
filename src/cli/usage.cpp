#include "cli/usage.h"

#include "cli/headless_runner.h"
#include "cli/update_command.h"

#include <iostream>

namespace quenmark {

QString usageText() {
    return "Usage:\n"
           "  quenmark-updater                      open the main window (main folder = current "
           "directory)\n"
           "  quenmark-updater init [DIR]           make a new main folder (default: current "
           "directory)\n"
           "  quenmark-updater update [options]     one whole publication, headless\n" +
           optionLines(updateOptions(), 6) +
           "  quenmark-updater run-batch [--jobs J] [--done-log LOG] FILE\n"
           "                                        the command interpreter that runs "
           "download.bat\n"
           "  quenmark-updater ftp -s:FILE          the FTP client that runs ftp.dat\n"
           "  quenmark-updater help [COMMAND]       this text, or the help of init or update\n"
           "  quenmark-updater --help | --version\n";
}

int usageError(const QString& problem) {
    std::cerr << "quenmark-updater: " << problem.toStdString() << "\n\n"
              << usageText().toStdString();
    return kExitUsage;
}

std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                const QList<QCommandLineOption>& options, const QString& help) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options);
    parser.addOption({{"h", "help"}, "this text"});
    if (!parser.parse(QStringList{"quenmark-updater"} + arguments))
        return usageError(parser.errorText());
    if (parser.isSet("help")) {
        std::cout << help.toStdString();
        return kExitCompleted;
    }
    return std::nullopt;
}

} // namespace quenmark
