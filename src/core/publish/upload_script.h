#pragma once

#include "core/files/settings_file.h"
#include "core/model/operator_message.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quenmark {

// The lines of ftp.dat, CR LF after each. Server, user name and password come
// from `held` (read when the run's processing began); the directory and the
// upload flags from `current` (settings.dat as it is now).
std::string uploadScriptText(const SiteSettings& held, const SiteSettings& current);

// Reads settings.dat afresh and writes ftp.dat, readable by its owner only since
// it holds the password. Returns a message for the operator when settings.dat is
// gone or ftp.dat cannot be written; nullopt when the script is in place.
std::optional<OperatorMessage> writeUploadScript(const std::filesystem::path& mainFolder,
                                                 const SiteSettings& held);

} // namespace quenmark
