#include "core/publish/upload.h"

#include "core/main_folder.h"
#include "core/publish/upload_script.h"

namespace quenmark {

std::optional<OperatorMessage> startUpload(const std::filesystem::path& mainFolder,
                                           const SiteSettings& heldSettings, UploadStarter& uploads,
                                           UploadEndHandler ended) {
    if (auto message = writeUploadScript(mainFolder, heldSettings))
        return message;
    if (!uploads.startUpload(mainFolder, kUploadScriptFile, std::move(ended)))
        return errorMessage("The upload could not be started.");
    return std::nullopt;
}

} // namespace quenmark
