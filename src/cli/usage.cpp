#include "cli/usage.h"

#include "cli/headless_runner.h"
#include "cli/update_command.h"

#include <algorithm>
#include <iostream>

namespace quenmark {

namespace {

constexpr int kSynopsisWidth = 40;
constexpr int kOptionNameWidth = 17;
constexpr int kLineWidth = 79;

// `head`, then `text` from `column` on, broken at blanks so that no line passes
// kLineWidth; a head that reaches the column takes a line of its own.
QString columned(const QString& head, int column, const QString& text) {
    QString out = head;
    if (!head.isEmpty() && head.size() >= column)
        out += "\n" + QString(column, ' ');
    else
        out = out.leftJustified(column);
    qsizetype lineStart = out.lastIndexOf('\n') + 1;
    bool first = true;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        if (!first && out.size() - lineStart + 1 + word.size() > kLineWidth) {
            out += "\n" + QString(column, ' ');
            lineStart = out.size() - column;
        } else if (!first) {
            out += ' ';
        }
        out += word;
        first = false;
    }
    return out + "\n";
}

// How the help shows an option: "--name VALUE", or "-s:FILE" for a one-letter
// option that takes its value after a colon.
QString optionName(const QCommandLineOption& option) {
    const QString name = option.names().constLast();
    if (name.size() == 1)
        return "-" + name + (option.valueName().isEmpty() ? "" : ":" + option.valueName());
    return "--" + name + (option.valueName().isEmpty() ? "" : " " + option.valueName());
}

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
    QString text = "Usage:\n" + columned("  quenmark-updater", kSynopsisWidth,
                                         "open the main window (main folder = current "
                                         "directory)");
    for (const CommandUsage& command : commands) {
        text += columned("  quenmark-updater " + command.name + " " + command.synopsis,
                         kSynopsisWidth, command.summary);
        if (command.optionsInUsage)
            text += optionLines(command.options, 6);
    }
    return text + "  quenmark-updater --help | --version\n";
}

QString optionLines(const QList<QCommandLineOption>& options, int indent) {
    QString lines;
    for (const QCommandLineOption& option : options)
        lines += columned(QString(indent, ' ') + optionName(option), indent + kOptionNameWidth,
                          option.description());
    return lines;
}

QString wrapped(const QString& text) {
    return columned("", 0, text);
}

QString optionsSection(const QList<QCommandLineOption>& options) {
    return "Options:\n" + optionLines(options, 2) + optionLines({{"help", "this text"}}, 2);
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
