#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The core's calls of the operating system (POSIX): the only file of the core
// that a port to another system must change. Descriptors are plain ints, -1
// when there is none; a call that a signal interrupts is made again.

namespace quenmark {

// Opens a regular file for reading. The open never blocks (a FIFO with no
// writer would hold the run for ever) and only a regular file is kept; -1 with
// `missing` set when nothing is at the path (a dangling link or a missing folder
// on the way counts as missing), -1 with it cleared when what is there cannot
// be read. On -1, errno tells why; 0 when what is there is not a regular file.
int openRegularFileForReading(const std::filesystem::path& path, bool& missing);

// Up to size bytes; 0 at the end of the file, -1 on an error.
std::ptrdiff_t readSome(int fd, char* into, std::size_t size);

// The size of the open file, or nullopt on an error.
std::optional<std::size_t> openFileSize(int fd);

// Opens a file for writing (emptied, or appended to) without following a link
// at its path: a link is removed first and the open refuses one put there
// meanwhile. Only a regular file is written, and the open never blocks: a FIFO,
// a device or a folder there is refused (errno EINVAL) rather than waited on.
// Returns the descriptor, or -1 with errno set. Safe between fork and exec.
int openForWritingNoFollow(const char* path, bool append);

// Writes all of content to fd; false on an error.
bool writeAll(int fd, std::string_view content);

// Closes fd; false when the close reports an error (a write that failed late).
bool closeFile(int fd);

// Makes what was written to fd survive a power cut; false on an error.
bool syncFile(int fd);

// Makes a rename or a new name in the folder survive a power cut.
void syncFolder(const std::filesystem::path& folder);

// Creates a new file, open for writing and closed on exec, named by `pattern`
// with its last six characters (XXXXXX) replaced by random ones; -1 on an error.
int makeUniqueFile(std::string& pattern);

// The permission bits of the file at the path, or nullopt when there is none.
std::optional<unsigned> permissionsOf(const std::filesystem::path& path);
// The permission bits a new file gets from the process's file-creation mask.
unsigned newFilePermissions();
// Sets the permission bits of the open file; false on an error.
bool setPermissions(int fd, unsigned permissions);

// Removes the file at the path, quietly: it may be gone already.
void unlinkQuietly(const std::filesystem::path& path);

// Renames `from` over `to` in one step; false on an error.
bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace quenmark
