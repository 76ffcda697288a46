#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace quenmark {

// Operator data must survive a power cut whole; member time files and pages are
// rebuilt by the next run, so they skip the syncs (a run writes thousands).
enum class Durability { Synced, Unsynced };

// Who may read the file: settings.dat and ftp.dat hold the FTP password.
enum class FileAccess { Default, OwnerOnly };

// The temporary files of a replacement are named this prefix and six random
// characters, in the folder of the file they replace: short, so that every file
// name that fits has a temporary that fits too.
inline constexpr std::string_view kReplacementPrefix = ".qmk-";

// Replaces a whole file: the content goes to a temporary file in the same
// folder, which is then renamed over the old one, so readers (and a run killed
// at any moment) see the old or the new content, never a torn one. A symbolic
// link at the path is replaced, never written through; anything else there that
// is not a regular file (a FIFO, a device, a folder) is left alone and the
// replacement fails. A replaced file keeps its permissions unless OwnerOnly is
// asked for. Every failure throws FileError naming the file by shownName, and
// the old file is then left as it was; a replacement dropped before commit()
// removes its temporary.
class FileReplacement {
public:
    FileReplacement(const std::filesystem::path& path, std::string shownName,
                    Durability durability = Durability::Synced,
                    FileAccess access = FileAccess::Default);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void write(std::string_view bytes);
    // The new content takes the file's place.
    void commit();

private:
    [[noreturn]] void fail(int systemError);

    std::filesystem::path m_path;
    std::string m_shownName;
    std::string m_temporary;
    Durability m_durability;
    int m_fd = -1;
};

// One whole content at once, the file named in messages by shownName, or by
// its path when that is empty.
void replaceFile(const std::filesystem::path& path, std::string_view content,
                 Durability durability = Durability::Synced,
                 FileAccess access = FileAccess::Default, std::string_view shownName = {});

// Removes the temporaries a killed replacement left in the folder: files of the
// exact temporary form older than `before` (the start of the run or the save),
// so a replacement in progress is never taken for one.
void removeReplacementLeftovers(const std::filesystem::path& folder,
                                std::filesystem::file_time_type before);
// The same at the start of a save of the operator's files: those older than now.
void removeReplacementLeftovers(const std::filesystem::path& folder);

} // namespace quenmark
