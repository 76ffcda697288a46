#include "publish/upload.h"

std::optional<OperatorMessage> startUpload(const std::filesystem::path&, const SiteSettings&,
                                           ProcessStarter&) {
    return std::nullopt;
}
