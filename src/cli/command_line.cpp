#include "cli/command_line.h"

#include "cli/headless_runner.h"
#include "platform/batch_interpreter.h"
#include "platform/ftp_client.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <iostream>

namespace quenmark {

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  quenmark-updater                      open the main window (main folder = current "
    "directory)\n"
    "  quenmark-updater update [options]     one whole publication, headless\n"
    "      --folder DIR     main folder (default: current directory)\n"
    "      --no-upload      write ftp.dat but do not start the upload\n"
    "      --timeout SEC    give up waiting for the downloads after SEC seconds\n"
    "  quenmark-updater run-batch FILE       the command interpreter that runs download.bat\n"
    "  quenmark-updater ftp -s:FILE          the FTP client that runs ftp.dat\n"
    "  quenmark-updater --help | --version\n";

int usageError(const QString& problem) {
    std::cerr << "quenmark-updater: " << problem.toStdString() << "\n\n" << kUsage;
    return kExitUsage;
}

int updateCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption folder("folder", "Main folder.", "DIR", ".");
    const QCommandLineOption noUpload("no-upload", "Write ftp.dat but do not upload.");
    const QCommandLineOption timeout("timeout", "Seconds to wait for the downloads.", "SEC");
    parser.addOptions({folder, noUpload, timeout});
    if (!parser.parse(QStringList{"quenmark-updater"} + arguments))
        return usageError(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return usageError("update takes no further arguments.");

    HeadlessOptions options;
    options.folder = parser.value(folder).toStdString();
    options.upload = !parser.isSet(noUpload);
    if (parser.isSet(timeout)) {
        bool ok = false;
        const int seconds = parser.value(timeout).toInt(&ok);
        if (!ok || seconds <= 0)
            return usageError("--timeout takes a whole number of seconds above 0.");
        options.timeoutSeconds = seconds;
    }
    return runHeadlessUpdate(options);
}

int runBatchCommand(const QStringList& arguments) {
    if (arguments.size() != 2)
        return usageError("run-batch takes one batch file.");
    return runBatchFile(arguments[1].toStdString(), std::filesystem::current_path());
}

int ftpCommand(const QStringList& arguments) {
    if (arguments.size() != 2 || !arguments[1].startsWith("-s:") || arguments[1].size() <= 3)
        return usageError("ftp takes one script as -s:FILE.");
    return runFtpScript(arguments[1].mid(3).toStdString(), std::cout);
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
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version" || command == "-v") {
        std::cout << "quenmark-updater " << QUENMARK_VERSION << "\n";
        return 0;
    }
    if (command == "update")
        return updateCommand(arguments);
    if (command == "run-batch")
        return runBatchCommand(arguments);
    if (command == "ftp")
        return ftpCommand(arguments);
    return usageError("unknown command \"" + command + "\".");
}

} // namespace quenmark
