#include "platform/ftp_client.h"

#include "core/model/text_file.h"
#include "core/publish/server_address.h"
#include "platform/ftp_library.h"
#include "platform/ftp_script.h"
#include "platform/upload_connection.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace quenmark {

namespace {

// What follows the command word: a directory name may hold blanks, so it is
// the rest of the line, without the blanks around it or quotes around it all.
std::string restOfLine(std::string_view line) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t i = 0;
    while (i < line.size() && blank(line[i]))
        ++i;
    while (i < line.size() && !blank(line[i]))
        ++i;
    while (i < line.size() && blank(line[i]))
        ++i;
    std::string_view rest = line.substr(i);
    while (!rest.empty() && blank(rest.back()))
        rest.remove_suffix(1);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
        rest = rest.substr(1, rest.size() - 2);
    return std::string(rest);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class ScriptRun {
public:
    ScriptRun(std::vector<FtpCommand> commands, IdentityFiles identity, std::ostream& out,
              UploadLimits limits)
        : m_commands(std::move(commands)), m_out(out), m_limits(limits),
          m_localFolder(std::filesystem::current_path()), m_identity(std::move(identity)) {}

    int run() {
        for (std::size_t next = 0; next < m_commands.size() && !m_finished; ++next) {
            const FtpCommand& command = m_commands[next];
            if (const auto left = m_limits.timeLeft(); left && left->count() == 0) {
                endScript(command.line + " not done: " + kOutOfTimeText +
                          " The commands after it were not run either.");
                break;
            }
            m_out << "ftp> " << command.line << "\n";
            runCommand(lowerCase(command.words[0]), command);
            m_out.flush();
        }
        if (m_connection)
            closeConnection();
        // The last line names the first failure, the one the others follow from,
        // so whoever started the client can tell the operator why.
        if (m_failed)
            m_out << "Upload failed: " << m_firstFailure << "\n";
        m_out.flush();
        return m_failed ? 1 : 0;
    }

private:
    void runCommand(const std::string& command, const FtpCommand& script) {
        const std::vector<std::string>& args = script.words;
        if (command == "open")
            open(script.line, script.user, script.password);
        else if (command == "cd")
            changeRemote(script.line);
        else if (command == "lcd")
            changeLocal(args);
        else if (command == "ascii" || command == "asc")
            setMode(TransferMode::Ascii);
        else if (command == "binary" || command == "bin")
            setMode(TransferMode::Binary);
        else if (command == "put" || command == "send")
            put(args);
        else if (command == "close" || command == "disconnect")
            close();
        else if (command == "quit" || command == "bye")
            quit();
        else
            fail("Invalid command.");
    }

    void fail(std::string_view why) {
        m_out << why << "\n";
        if (!m_failed)
            m_firstFailure = why;
        m_failed = true;
    }

    // The user name and password lines are taken even when the connection
    // fails, so that neither is ever run as a command nor shown. The server is
    // the rest of the line, in any form the FTP Server field takes.
    void open(std::string_view line, const std::string& user, const std::string& password) {
        if (m_connection)
            return fail("Already connected, use close first.");
        const std::string field = restOfLine(line);
        if (field.empty())
            return endScript("No server named; the upload is abandoned.");
        const ParsedAddress parsed = parseServerAddress(field);
        if (!parsed.address)
            return endScript(parsed.problem + " The upload is abandoned.");
        const std::string name = serverName(*parsed.address);
        m_out << "User (" << parsed.address->host << "): " << user << "\n";
        m_out << "Password:\n";
        auto connection = std::make_unique<UploadConnection>(*parsed.address, user, password,
                                                             m_identity, m_out, m_limits);
        const FtpReply reply = connection->open();
        if (!reply.ok)
            return endScript("Login to " + name + " failed: " + reply.text);
        m_out << "Connected to " << name
              << (isEncrypted(parsed.address->transport) ? ". " : ", not encrypted. ") << reply.text
              << "\n";
        m_connection = std::move(connection);
    }

    // Without a connection nothing that follows can work.
    void endScript(const std::string& why) {
        fail(why);
        m_finished = true;
    }

    bool connected() {
        if (!m_connection)
            fail("Not connected.");
        return m_connection != nullptr;
    }

    void changeRemote(std::string_view line) {
        if (!connected())
            return;
        // An empty directory leaves the login directory as it is; the next line
        // of the script is a command of its own, not the answer to a prompt.
        const std::string directory = restOfLine(line);
        if (directory.empty()) {
            m_out << "No directory named; remote directory stays " << m_connection->directory()
                  << ".\n";
            return;
        }
        const FtpReply reply = m_connection->changeDirectory(directory);
        if (!reply.ok) {
            // The pages must not land in whatever directory the login gave.
            m_directoryFailed = true;
            return fail("cd " + directory + " failed: " + reply.text);
        }
        m_directoryFailed = false;
        m_out << reply.text << "\n";
    }

    void changeLocal(const std::vector<std::string>& args) {
        if (args.size() >= 2) {
            const std::filesystem::path folder = m_localFolder / args[1];
            std::error_code ec;
            if (!std::filesystem::is_directory(folder, ec))
                return fail(args[1] + ": folder not found.");
            m_localFolder = folder.lexically_normal();
        }
        m_out << "Local directory now " << m_localFolder.string() << ".\n";
    }

    void setMode(TransferMode mode) {
        m_mode = mode;
        m_out << (mode == TransferMode::Ascii ? "Type set to A.\n" : "Type set to I.\n");
    }

    void put(const std::vector<std::string>& args) {
        if (args.size() < 2)
            return fail("No local file named.");
        if (!connected())
            return;
        if (m_directoryFailed)
            return fail("put " + args[1] + " not done: the remote directory could not be changed.");
        const std::filesystem::path local = m_localFolder / args[1];
        const std::string remote =
            args.size() > 2 ? args[2] : std::filesystem::path(args[1]).filename().string();
        FileContent bytes = readFileContent(local);
        if (bytes.status != FileReadStatus::Ok)
            return fail("Error opening local file " + args[1] + ".");
        const FtpReply reply = m_connection->send(bytes.bytes, remote, m_mode);
        if (reply.failure == Failure::OutOfTime)
            return endScript("put " + args[1] + " failed: " + reply.text +
                             " The files after it were not sent.");
        if (reply.failure == Failure::Unreachable)
            return endScript("put " + args[1] + " failed: " + reply.text +
                             " The server stopped answering; the files after it were not sent.");
        if (!reply.ok)
            return fail("put " + args[1] + " failed: " + reply.text);
        m_out << reply.text << "\n" << fileSentLine(bytes.bytes.size()) << "\n";
    }

    void closeConnection() {
        m_connection.reset();
        m_directoryFailed = false;
        m_out << "Connection closed.\n";
    }

    void close() {
        if (connected())
            closeConnection();
    }

    void quit() {
        if (m_connection)
            closeConnection();
        m_finished = true;
    }

    std::vector<FtpCommand> m_commands;
    std::ostream& m_out;
    UploadLimits m_limits;
    std::filesystem::path m_localFolder;
    IdentityFiles m_identity;
    std::unique_ptr<UploadConnection> m_connection;
    bool m_directoryFailed = false; // a cd of this connection failed
    TransferMode m_mode = TransferMode::Ascii;
    bool m_failed = false;
    std::string m_firstFailure;
    bool m_finished = false;
};

} // namespace

std::string fileSentLine(std::size_t bytes) {
    return "ftp: " + std::to_string(bytes) + " bytes sent.";
}

int filesSent(std::string_view transcript) {
    const std::vector<std::string> lines = splitLines(transcript);
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        constexpr std::string_view start = "ftp: ", end = " bytes sent.";
        return line.size() > start.size() + end.size() && line.starts_with(start) &&
               line.ends_with(end) &&
               std::all_of(line.begin() + start.size(), line.end() - end.size(),
                           [](unsigned char c) { return std::isdigit(c); });
    }));
}

int runFtpScript(const std::filesystem::path& scriptFile, std::ostream& transcript,
                 UploadLimits limits) {
    const FileContent script = readFileContent(scriptFile);
    if (script.status != FileReadStatus::Ok) {
        transcript << "Error opening script file " << scriptFile.string() << ".\n";
        transcript.flush();
        return 1;
    }
    const FtpLibrary library;
    if (!library.started()) {
        transcript << "The FTP library could not be started.\n";
        transcript.flush();
        return 1;
    }
    const int status =
        ScriptRun(readFtpScript(script.bytes),
                  identityFilesOf(std::filesystem::absolute(scriptFile).parent_path()), transcript,
                  limits)
            .run();
    return status;
}

} // namespace quenmark
