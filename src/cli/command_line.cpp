#include "cli/command_line.h"

#include "cli/headless_runner.h"
#include "cli/init_command.h"
#include "cli/trust_command.h"
#include "cli/update_command.h"
#include "cli/usage.h"
#include "core/harvest/download_jobs.h"
#include "platform/batch_interpreter.h"
#include "platform/ftp_client.h"
#include "platform/path_text.h"

#include <QCoreApplication>
#include <QStringList>
#include <iostream>
#include <optional>
#include <vector>

namespace quenmark {

namespace {

// A subcommand: how it is shown, and what runs it (arguments[0] is its name).
struct Command {
    CommandUsage usage;
    int (*run)(const QStringList& arguments);
};

std::vector<Command> commands();

std::vector<CommandUsage> usages() {
    std::vector<CommandUsage> list;
    for (const Command& command : commands())
        list.push_back(command.usage);
    return list;
}

std::optional<Command> findCommand(const QString& name) {
    for (const Command& command : commands())
        if (command.usage.name == name)
            return command;
    return std::nullopt;
}

// The usage, or one command's help.
int printHelp(const QString& topic) {
    if (topic.isEmpty()) {
        std::cout << usageText(usages()).toStdString();
    } else {
        const auto command = findCommand(topic);
        if (!command)
            return usageError("help", "no command \"" + topic + "\".");
        std::cout << command->usage.help.toStdString();
    }
    return afterOutput(kExitCompleted);
}

CommandUsage helpUsage(const QStringList& names) {
    return {.name = "help",
            .synopsis = "[COMMAND]",
            .summary = "this text, or the help of a command",
            .help = "Usage: quenmark-updater help [COMMAND]\n" +
                    wrapped("Prints the usage of every command, or the help of COMMAND, as "
                            "COMMAND --help does. COMMAND is one of: " +
                            names.join(", ") + ".") +
                    "\n" + optionsSection({}),
            .maxArguments = 1};
}

int helpCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, findCommand("help")->usage))
        return *done;
    return printHelp(parser.positionalArguments().value(0));
}

CommandUsage runBatchUsage() {
    const QList<QCommandLineOption> options = {
        {"jobs", "run up to J of the batch's fetches at once (default: 1, one after the other)",
         "J", "1"},
        {"done-log",
         "empty LOG, then add to it the output file of each fetch that has ended, one a line",
         "LOG"}};
    return {.name = "run-batch",
            .synopsis = "[--jobs J] [--done-log LOG] FILE",
            .summary = "the command interpreter that runs download.bat",
            .help = "Usage: quenmark-updater run-batch [--jobs J] [--done-log LOG] FILE\n" +
                    wrapped("The command interpreter that runs the download batch FILE; a run "
                            "starts it itself.") +
                    "\n" + optionsSection(options),
            .options = options,
            .maxArguments = 1};
}

int runBatchCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, runBatchUsage()))
        return *done;
    const auto jobs = parseDownloadJobs(parser.value("jobs").toStdString());
    if (!jobs)
        return usageError("run-batch", downloadJobsProblem());
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError("run-batch", "no batch file given.");
    return runBatchFile(pathFromText(positional[0]), std::filesystem::current_path(),
                        kProgramTimeLimit, *jobs, pathFromText(parser.value("done-log")));
}

CommandUsage ftpUsage() {
    const QList<QCommandLineOption> options = {
        {"s", "the upload script", "FILE"},
        {"time-limit", "send nothing more after SEC seconds", "SEC"}};
    return {.name = "ftp",
            .synopsis = "-s:FILE [--time-limit SEC]",
            .summary = "the FTP client that runs ftp.dat",
            .help = "Usage: quenmark-updater ftp -s:FILE [--time-limit SEC]\n" +
                    wrapped("The FTP client that runs the upload script FILE, its transcript on "
                            "standard output; a run starts it itself on ftp.dat.") +
                    "\n" + optionsSection(options),
            .options = options,
            .singleDashWords = QCommandLineParser::ParseAsCompactedShortOptions};
}

// The script comes as one argument -s:FILE, the way such clients take it.
int ftpCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, ftpUsage()))
        return *done;
    const QString script = parser.value("s");
    if (!script.startsWith(':') || script.size() < 2)
        return usageError("ftp", "the script is given as -s:FILE.");
    UploadLimits limits;
    if (parser.isSet("time-limit")) {
        bool ok = false;
        const int seconds = parser.value("time-limit").toInt(&ok);
        if (!ok || seconds <= 0)
            return usageError("ftp", "--time-limit takes a whole number of seconds above 0.");
        limits.deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    }
    return runFtpScript(pathFromText(script.mid(1)), std::cout, limits);
}

std::vector<Command> commands() {
    std::vector<Command> list = {
        {initUsage(), initCommand},   {updateUsage(), updateCommand},
        {trustUsage(), trustCommand}, {runBatchUsage(), runBatchCommand},
        {ftpUsage(), ftpCommand},
    };
    QStringList names;
    for (const Command& command : list)
        names << command.usage.name;
    list.push_back({helpUsage(names << "help"), helpCommand});
    return list;
}

} // namespace

int runCommandLine(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quenmark-updater");
    QCoreApplication::setApplicationVersion(QUENMARK_VERSION);

    // The program's own options stand before the command; what follows the
    // command is the command's.
    const QList<QCommandLineOption> options = {{{"h", "help"}, "the usage"},
                                               {{"v", "version"}, "the version"}};
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions(options);
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(given))
        return usageError("", parseProblem(parser, given, options));
    const QStringList rest = parser.positionalArguments();

    if (parser.isSet("help")) {
        if (rest.size() > 1)
            return usageError("", "unexpected argument \"" + rest[1] + "\".");
        return printHelp(rest.value(0));
    }
    if (parser.isSet("version")) {
        if (!rest.isEmpty())
            return usageError("", "unexpected argument \"" + rest[0] + "\".");
        std::cout << "quenmark-updater " << QUENMARK_VERSION << "\n";
        return afterOutput(kExitCompleted);
    }
    if (rest.isEmpty())
        return usageError("", "no command given.");
    const auto command = findCommand(rest[0]);
    if (!command)
        return usageError("", "unknown command \"" + rest[0] + "\".");
    return command->run(rest);
}

} // namespace quenmark
