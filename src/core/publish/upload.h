#pragma once

#include "core/files/settings_file.h"
#include "core/model/operator_message.h"
#include "core/ports/upload_starter.h"

#include <filesystem>
#include <optional>

namespace quenmark {

// Writes ftp.dat and starts the FTP client on it. heldSettings are the values
// the run read when its processing began (server, user, password). Returns a
// message for the operator when the upload could not be started, or nullopt;
// `ended` learns how the client ended.
std::optional<OperatorMessage> startUpload(const std::filesystem::path& mainFolder,
                                           const SiteSettings& heldSettings, UploadStarter& uploads,
                                           UploadEndHandler ended);

} // namespace quenmark
