#include "cli/usage.h"

#include "cli/headless_runner.h"
#include "cli/update_command.h"

#include <algorithm>
#include <iostream>

namespace quenmark {

namespace {

constexpr int kSynopsisWidth = 40;

QString bareName(const QString& typed) {
    qsizetype dashes = 0;
    while (dashes < typed.size() && typed[dashes] == '-')
        ++dashes;
    return typed.mid(dashes);
}

} // namespace

QString parseProblem(const QCommandLineParser& parser, const QStringList& arguments,
                     const QList<QCommandLineOption>& options) {
    const QStringList unknown = parser.unknownOptionNames();
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != "--"; ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith('-') || argument.size() < 2)
            continue;
        const QString typed = argument.section('=', 0, 0);
        const QString name = bareName(typed);
        if (unknown.contains(name))
            return "unknown option \"" + typed + "\".";
        const auto option = std::find_if(options.begin(), options.end(), [&](const auto& known) {
            return known.names().contains(name);
        });
        if (option == options.end())
            continue;
        const bool hasValue = argument.contains('=');
        if (option->valueName().isEmpty() && hasValue)
            return typed + " takes no value.";
        if (!option->valueName().isEmpty() && !hasValue) {
            ++i; // its value, which is then no option
            if (i == arguments.size())
                return typed + " needs a value (" + option->valueName() + ").";
        }
    }
    if (!unknown.isEmpty()) // a letter inside compacted short options
        return "unknown option \"-" + unknown.first() + "\".";
    return parser.errorText();
}

QString usageText(const std::vector<CommandUsage>& commands) {
    QString text = "Usage:\n" + QString("  quenmark-updater").leftJustified(kSynopsisWidth) +
                   "open the main window (main folder = current directory)\n";
    for (const CommandUsage& command : commands) {
        const QString synopsis = "  quenmark-updater " + command.name + " " + command.synopsis;
        if (synopsis.size() < kSynopsisWidth)
            text += synopsis.leftJustified(kSynopsisWidth) + command.summary + "\n";
        else
            text += synopsis + "\n" + QString(kSynopsisWidth, ' ') + command.summary + "\n";
        if (command.optionsInUsage)
            text += optionLines(command.options, 6);
    }
    return text + "  quenmark-updater --help | --version\n";
}

int usageError(const QString& command, const QString& problem) {
    const QString program = command.isEmpty() ? "quenmark-updater" : "quenmark-updater " + command;
    std::cerr << program.toStdString() << ": " << problem.toStdString() << "\nTry '"
              << program.toStdString() << " --help'." << std::endl;
    return kExitUsage;
}

std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                const CommandUsage& command) {
    parser.setSingleDashWordOptionMode(command.singleDashWords);
    QList<QCommandLineOption> options = command.options;
    options.append({{"h", "help"}, "this text"});
    parser.addOptions(options);
    const QStringList given = QStringList{"quenmark-updater"} + arguments.mid(1);
    if (!parser.parse(given))
        return usageError(command.name, parseProblem(parser, given, options));
    if (parser.isSet("help")) {
        std::cout << command.help.toStdString();
        return afterOutput(kExitCompleted);
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > command.maxArguments)
        return usageError(command.name,
                          "unexpected argument \"" + positional[command.maxArguments] + "\".");
    return std::nullopt;
}

int afterOutput(int status) {
    if (std::cout.flush())
        return status;
    std::cerr << "quenmark-updater: standard output could not be written." << std::endl;
    return status == kExitCompleted ? kExitStopped : status;
}

} // namespace quenmark
