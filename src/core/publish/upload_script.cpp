#include "core/publish/upload_script.h"

#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/text_file.h"

#include <string_view>

namespace quenmark {

namespace {

void putLine(TextBuilder& out, std::string_view file) {
    out.line("put " + std::string(file) + " " + std::string(file));
}

} // namespace

std::string uploadScriptText(const SiteSettings& held, const SiteSettings& current) {
    TextBuilder out;
    out.line("open " + held.ftpServer).line(held.ftpUser).line(held.ftpPassword);
    if (isFlagSet(current.useDirectory))
        out.line("cd " + current.directory);
    out.line(std::string("lcd ") + kUploadFolder).line("ascii");
    if (isFlagSet(current.uploadElite))
        putLine(out, kSitePageFile);
    if (isFlagSet(current.uploadElite2))
        putLine(out, "elite2.htm");
    if (isFlagSet(current.uploadStage))
        for (int n = 1; n <= 14; ++n)
            putLine(out, "stage" + std::to_string(n) + ".htm");
    if (isFlagSet(current.uploadDiff))
        for (int n = 1; n <= 3; ++n) {
            putLine(out, "diffp-" + std::to_string(n) + ".htm");
            putLine(out, "difft-" + std::to_string(n) + ".htm");
        }
    if (isFlagSet(current.uploadLeaders))
        putLine(out, "leaders.htm");
    if (isFlagSet(current.uploadRoster))
        putLine(out, "roster.htm");
    if (isFlagSet(current.uploadPoints))
        putLine(out, "points.htm");
    if (isFlagSet(current.uploadTarvo)) {
        // An ASCII transfer would rewrite the picture's CR and LF bytes; the
        // pages before it stay in ASCII mode so the server stores them its way.
        out.line("binary");
        putLine(out, kPictureFile);
    }
    out.line("close").line("quit");
    return out.text();
}

std::optional<OperatorMessage> writeUploadScript(const std::filesystem::path& mainFolder,
                                                 const SiteSettings& held) {
    const std::optional<SiteSettings> current = loadSettings(mainFolder);
    if (!current)
        return errorMessage(std::string("\"") + kSettingsFile +
                            "\" could not be found. The pages were written but not uploaded.");
    try {
        replaceFile(mainFolder / kUploadScriptFile, uploadScriptText(held, *current),
                    Durability::Unsynced, FileAccess::OwnerOnly, kUploadScriptFile);
    } catch (const FileError& error) {
        return errorMessage(std::string(error.what()) + " The pages were not uploaded.");
    }
    return std::nullopt;
}

} // namespace quenmark
