#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quenmark {

// The commands and the update options, as --help prints them.
QString usageText();

// Reports bad usage on standard error, followed by the usage text; returns the
// exit status for bad usage.
int usageError(const QString& problem);

// Parses a subcommand's arguments with its options and --help. The exit status
// when the command is done already (bad usage, or its help printed); none when
// it goes on with what the parser holds.
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                const QList<QCommandLineOption>& options, const QString& help);

} // namespace quenmark
