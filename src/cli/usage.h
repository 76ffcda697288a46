#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quenmark {

// A subcommand as the usage text and its own help show it, and what it accepts.
// Every member has a default, so a command names only what it needs.
struct CommandUsage {
    QString name{};                      // "update"
    QString synopsis{};                  // what follows the name: "[options]"
    QString summary{};                   // its line in the usage text
    QString help{};                      // what `NAME --help` and `help NAME` print
    QList<QCommandLineOption> options{}; // besides --help
    int maxArguments = 0;                // arguments besides the options
    bool optionsInUsage = false;         // the usage text lists the options under it
    QCommandLineParser::SingleDashWordOptionMode singleDashWords =
        QCommandLineParser::ParseAsLongOptions;
};

// What --help prints: the window, each command in order, --help and --version.
QString usageText(const std::vector<CommandUsage>& commands);

// One entry per option, "--name VALUE" then its description from the column
// `indent` + 17 on, wrapped to the width of a terminal; a name too long for its
// column stands on a line of its own.
QString optionLines(const QList<QCommandLineOption>& options, int indent);

// `text` as one paragraph, broken at blanks into lines that fit a terminal.
QString wrapped(const QString& text);

// A help's "Options:" section: the options, then --help.
QString optionsSection(const QList<QCommandLineOption>& options);

// Bad usage of a command ("" for the program itself): one line on standard
// error naming the problem, then where the help is. Returns the exit status for
// bad usage.
int usageError(const QString& command, const QString& problem);

// Why the parser refused the arguments (arguments[0] is the program), in the
// program's words, with the option as it was typed; Qt's own text drops the dashes.
QString parseProblem(const QCommandLineParser& parser, const QStringList& arguments,
                     const QList<QCommandLineOption>& options);

// Parses a command's arguments (arguments[0] is its name) with its options and
// --help, refusing unknown options and extra arguments. The exit status when the
// command is done already (bad usage, or its help printed); none when it goes on
// with what the parser holds.
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                const CommandUsage& command);

// The exit status once a command's answer is on standard output: when it could
// not be written there (a full disk), success turns into failure.
int afterOutput(int status);

} // namespace quenmark
