#pragma once

#include "core/files/settings_file.h"
#include "core/model/operator_message.h"
#include "core/ports/upload_starter.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace quenmark {

// Writes ftp.dat and starts the FTP client on it, for at most timeLimit.
// heldSettings are the values the run read when its processing began (server,
// user, password). Returns a message for the operator when the upload could
// not be started, or nullopt; the handlers learn how far the client is and how
// it ended.
std::optional<OperatorMessage> startUpload(const std::filesystem::path& mainFolder,
                                           const SiteSettings& heldSettings, UploadStarter& uploads,
                                           std::chrono::seconds timeLimit, UploadHandlers handlers);

// "n of M files": the upload's count, as the download's is "n of M pages".
std::string uploadCountText(int sent, int total);

} // namespace quenmark
