#include "cli/trust_command.h"

#include "cli/headless_runner.h"
#include "cli/update_command.h"
#include "cli/usage.h"
#include "core/files/settings_file.h"
#include "core/model/text_file.h"
#include "platform/connection_test.h"
#include "platform/ftp_library.h"
#include "platform/path_text.h"

#include <QCommandLineParser>
#include <iostream>
#include <string>

namespace quenmark {

namespace {

namespace fs = std::filesystem;

bool confirmed(bool yes) {
    std::cout << "Trust it? [y/N] " << std::flush;
    if (yes) {
        std::cout << "y (--yes)" << std::endl;
        return true;
    }
    std::string answer;
    if (!std::getline(std::cin, answer))
        std::cout << std::endl;
    return answer == "y" || answer == "Y" || answer == "yes";
}

int trustFolder(const fs::path& folder, bool yes) {
    std::optional<SiteSettings> settings;
    try {
        settings = loadSettings(folder);
    } catch (const FileError& error) {
        std::cerr << "Error: " << error.what() << std::endl;
        return kExitStopped;
    }
    if (!settings) {
        std::cerr << "Error: \"" << (folder / kSettingsFile).string()
                  << "\" could not be found. \"quenmark-updater init\" makes one." << std::endl;
        return kExitStopped;
    }
    const ParsedAddress address = parseServerAddress(settings->ftpServer);
    if (address.address && !isEncrypted(address.address->transport)) {
        std::cerr << "Error: " << serverName(*address.address)
                  << " is reached by plain FTP, which proves no identity: begin the FTP Server "
                     "setting with ftpes://, ftps:// or sftp://."
                  << std::endl;
        return kExitStopped;
    }
    const IdentityFiles files = identityFilesOf(folder);
    ConnectionCheck check = testConnection(*settings, files);
    if (check.unknownServer) {
        const UnknownServer& server = *check.unknownServer;
        std::cout << "Server: " << serverName(server.address) << "\n"
                  << "SHA-256 fingerprint: " << server.fingerprint << std::endl;
        if (server.changed) {
            std::cerr << "Error: " << unknownServerText(server) << std::endl;
            return kExitStopped;
        }
        if (!confirmed(yes)) {
            std::cout << "Not trusted; nothing was recorded." << std::endl;
            return kExitStopped;
        }
        try {
            trustServer(files, server);
        } catch (const FileError& error) {
            std::cerr << "Error: " << error.what() << std::endl;
            return kExitStopped;
        }
        std::cout << "Recorded in "
                  << (server.address.transport == Transport::Sftp ? kKnownHostsFile
                                                                  : kTrustedCertificatesFile)
                  << "." << std::endl;
        check = testConnection(*settings, files);
    } else if (check.ok) {
        std::cout << "The server is trusted already." << std::endl;
    }
    (check.ok ? std::cout : std::cerr) << (check.ok ? "" : "Error: ") << check.words << std::endl;
    return afterOutput(check.ok ? kExitCompleted : kExitStopped);
}

} // namespace

CommandUsage trustUsage() {
    const QList<QCommandLineOption> options = {
        {"folder", "main folder (default: current directory)", "DIR", "."},
        {"yes", "trust the server without asking"},
    };
    const QString help =
        "Usage: quenmark-updater trust [options]\n" +
        wrapped(QString("Connects to the server of the main folder's settings and shows the "
                        "SHA-256 fingerprint of its TLS certificate or SSH host key. Once "
                        "confirmed, the certificate goes into %1, the host key into %2, in the "
                        "main folder; then the account is tried (log-in, directory, listing).")
                    .arg(kTrustedCertificatesFile, kKnownHostsFile)) +
        "\n" + optionsSection(options) + "\n" +
        "Exit status: 0 the server is trusted and the account works, 1 it is not\n"
        "trusted or the account failed, 2 bad usage.\n";
    return {.name = "trust",
            .synopsis = "[--folder DIR] [--yes]",
            .summary = "trust the server's certificate or host key",
            .help = help,
            .options = options};
}

int trustCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    if (const auto done = parseCommand(parser, arguments, trustUsage()))
        return *done;
    const fs::path folder = pathFromText(parser.value("folder"));
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        std::cerr << "Error: The main folder \"" << folder.string() << "\" could not be found."
                  << std::endl;
        return kExitStopped;
    }
    const FtpLibrary library;
    if (!library.started()) {
        std::cerr << "Error: The FTP library could not be started." << std::endl;
        return kExitStopped;
    }
    return trustFolder(folder, parser.isSet("yes"));
}

} // namespace quenmark
