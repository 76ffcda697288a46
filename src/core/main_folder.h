#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The names inside a main folder, relative to it. Every layer takes them from
// here; other programs and the operator rely on them, so they never change.

namespace quenmark {

namespace main_folder_detail {

// The parts written one after the other, as one NUL-terminated constant.
template <std::size_t... Sizes>
constexpr std::array<char, (Sizes + ...) - sizeof...(Sizes) + 1>
joined(const char (&... parts)[Sizes]) {
    std::array<char, (Sizes + ...) - sizeof...(Sizes) + 1> text{};
    std::size_t end = 0;
    for (const char* part : {static_cast<const char*>(parts)...})
        for (; *part != '\0'; ++part)
            text[end++] = *part;
    return text;
}

} // namespace main_folder_detail

// The browser the download batch runs; the folder of the same name may hold a
// copy of it, found before the one on the search path.
inline constexpr char kBrowserProgram[] = "lynx";

// The four folders of a main folder.
inline constexpr const char* kBrowserFolder = kBrowserProgram;
inline constexpr char kDownloadFolder[] = "download";
inline constexpr char kTemplatesFolder[] = "templates";
inline constexpr char kUploadFolder[] = "upload";
inline constexpr std::array<const char*, 4> kMainFolderFolders = {kBrowserFolder, kDownloadFolder,
                                                                  kTemplatesFolder, kUploadFolder};

// The data files the operator keeps.
inline constexpr const char* kRosterFile = "roster.txt";
inline constexpr const char* kBannedFile = "banned.txt";
inline constexpr const char* kInvalidNamesFile = "invalidchrs.dat";
inline constexpr const char* kSettingsFile = "settings.dat";
inline constexpr const char* kEnforcedTimesFile = "times.dat";

// The members whose page could not be read in the latest run.
inline constexpr const char* kErrorLogFile = "errors.txt";

// The download batch, and the records kept beside it while it runs, outside
// download/, so they are never taken for a page: the process ids of the
// running batch, and the targets of its lines that have ended (one a line).
inline constexpr const char* kBatchFile = "download.bat";
inline constexpr const char* kBatchRecordFile = "download.pid";
inline constexpr const char* kBatchDoneLogFile = "download.done";

// The batch's last line writes the sentinel page into download/: its arrival
// ends the downloads. No member's page may take its name, in any letter case.
inline constexpr char kSentinelName[] = "EndOfRoster";
inline constexpr auto kSentinelPageText = main_folder_detail::joined(kSentinelName, ".html");
inline constexpr const char* kSentinelPage = kSentinelPageText.data();
inline constexpr auto kSentinelFileText =
    main_folder_detail::joined(kDownloadFolder, "/", kSentinelName, ".html");
inline constexpr const char* kSentinelFile = kSentinelFileText.data();

// The upload: the FTP client's script (it holds the password), its transcript,
// and while it runs the record of the client's process, so that a later run
// can end a client that outlived its run.
inline constexpr const char* kUploadScriptFile = "ftp.dat";
inline constexpr const char* kUploadLogFile = "ftp.log";
inline constexpr const char* kUploadRecordFile = "ftp.pid";

// The servers the operator trusts beyond the system's certificate store: TLS
// certificates (PEM) and SSH host keys (OpenSSH's known_hosts form).
inline constexpr const char* kTrustedCertificatesFile = "trusted.pem";
inline constexpr const char* kKnownHostsFile = "known_hosts";

// Held while a run owns the main folder.
inline constexpr const char* kRunLockFile = "update.lock";

// A member's page and his time file in download/, by his base name.
inline std::string memberPageName(std::string_view baseName) {
    return std::string(kDownloadFolder) + "/" + std::string(baseName) + ".html";
}
inline std::string timeFileName(std::string_view baseName) {
    return std::string(kDownloadFolder) + "/" + std::string(baseName) + ".txt";
}

// The operator's picture, sent with the pages.
inline constexpr char kPictureFile[] = "tarvo.jpg";
inline constexpr auto kPicturePathText =
    main_folder_detail::joined(kUploadFolder, "/", kPictureFile);
inline constexpr const char* kPicturePath = kPicturePathText.data();

// The site's first page, which the window opens in the browser.
inline constexpr char kSitePageFile[] = "elite.htm";
inline constexpr auto kSitePageText = main_folder_detail::joined(kUploadFolder, "/", kSitePageFile);
inline constexpr const char* kSitePage = kSitePageText.data();

} // namespace quenmark
