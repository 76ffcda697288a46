#include "core/publish/upload.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "core/publish/upload_script.h"

namespace quenmark {

std::optional<OperatorMessage> startUpload(const std::filesystem::path& mainFolder,
                                           const SiteSettings& heldSettings, UploadStarter& uploads,
                                           std::chrono::seconds timeLimit,
                                           UploadHandlers handlers) {
    if (auto message = writeUploadScript(mainFolder, heldSettings))
        return message;
    // The client's transcript is made here first, so that a FIFO or a folder
    // in its place is told by name rather than as a client that did not start.
    try {
        writeEmptyFile(mainFolder / kUploadLogFile, kUploadLogFile);
    } catch (const FileError& error) {
        return errorMessage(std::string(error.what()) + " The pages were not uploaded.");
    }
    try {
        if (!uploads.startUpload(mainFolder, kUploadScriptFile, timeLimit, std::move(handlers)))
            return errorMessage("The upload could not be started.");
    } catch (const FileError& error) {
        return errorMessage(std::string(error.what()) + " The pages were not uploaded.");
    }
    return std::nullopt;
}

std::string uploadCountText(int sent, int total) {
    return std::to_string(sent) + " of " + std::to_string(total) + " files";
}

} // namespace quenmark
