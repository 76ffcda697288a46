#include "cli/command_line.h"

#include "cli/headless_runner.h"
#include "cli/init_command.h"
#include "cli/update_command.h"
#include "cli/usage.h"
#include "core/harvest/download_jobs.h"
#include "platform/batch_interpreter.h"
#include "platform/ftp_client.h"
#include "platform/path_text.h"

#include <QCoreApplication>
#include <QStringList>
#include <iostream>

namespace quenmark {

namespace {

int helpCommand(const QStringList& arguments) {
    const QString topic = arguments.value(1);
    if (arguments.size() > 2)
        return usageError("help takes at most one command.");
    if (topic.isEmpty())
        std::cout << usageText().toStdString();
    else if (topic == "update")
        std::cout << updateHelp().toStdString();
    else if (topic == "init")
        std::cout << initHelp().toStdString();
    else
        return usageError("no help on \"" + topic + "\".");
    return kExitCompleted;
}

// Without --jobs the batch runs line by line, as any command interpreter runs it.
int runBatchCommand(const QStringList& arguments) {
    QStringList rest = arguments.mid(1);
    int jobs = 1;
    std::filesystem::path doneLog;
    while (rest.size() >= 3 && (rest[0] == "--jobs" || rest[0] == "--done-log")) {
        if (rest[0] == "--jobs") {
            const auto value = parseDownloadJobs(rest[1].toStdString());
            if (!value)
                return usageError(downloadJobsProblem());
            jobs = *value;
        } else {
            doneLog = pathFromText(rest[1]);
        }
        rest = rest.mid(2);
    }
    if (rest.size() != 1)
        return usageError("run-batch takes one batch file.");
    return runBatchFile(pathFromText(rest[0]), std::filesystem::current_path(), kProgramTimeLimit,
                        jobs, doneLog);
}

int ftpCommand(const QStringList& arguments) {
    if (arguments.size() != 2 || !arguments[1].startsWith("-s:") || arguments[1].size() <= 3)
        return usageError("ftp takes one script as -s:FILE.");
    return runFtpScript(pathFromText(arguments[1].mid(3)), std::cout);
}

} // namespace

int runCommandLine(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quenmark-updater");
    QCoreApplication::setApplicationVersion(QUENMARK_VERSION);

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString command = arguments.value(0);
    if (command == "--help" || command == "-h" || command == "help")
        return helpCommand(arguments);
    if (command == "--version" || command == "-v") {
        std::cout << "quenmark-updater " << QUENMARK_VERSION << "\n";
        return 0;
    }
    if (command == "init")
        return initCommand(arguments);
    if (command == "update")
        return updateCommand(arguments);
    if (command == "run-batch")
        return runBatchCommand(arguments);
    if (command == "ftp")
        return ftpCommand(arguments);
    return usageError("unknown command \"" + command + "\".");
}

} // namespace quenmark
