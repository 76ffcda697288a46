#pragma once

#include <filesystem>
#include <string_view>

namespace quenmark {

// Operator data must survive a power cut whole; member time files are rebuilt
// from the next good page, so they skip the syncs (a run writes thousands).
enum class Durability { Synced, Unsynced };

// Who may read the file: settings.dat and ftp.dat hold the FTP password.
enum class FileAccess { Default, OwnerOnly };

// Replaces a whole file: writes a temporary file in the same folder, flushes it
// and renames it over the old one, so readers see the old or the new content,
// never a torn one. A replaced file keeps its permissions unless OwnerOnly is
// asked for. Throws FileError naming the file when anything fails; the old file
// is then left as it was.
void replaceFile(const std::filesystem::path& path, std::string_view content,
                 Durability durability = Durability::Synced,
                 FileAccess access = FileAccess::Default);

} // namespace quenmark
