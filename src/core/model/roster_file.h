#pragma once

#include "core/model/member_record.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quenmark {

enum class MemberFileStatus { Ok, Missing, Unreadable, Damaged };

struct MemberFileRead {
    MemberFileStatus status = MemberFileStatus::Ok;
    MemberTable members;
    int systemError = 0; // why it is Unreadable, when the system said
};

// Reads a file in the roster format (roster.txt, banned.txt): five lines per
// member and a sixth that is discarded; the last member may lack the sixth. A
// last member of fewer than five lines makes the file damaged.
MemberFileRead readMemberFile(const std::filesystem::path& file);

// The same, from the file's lines.
MemberFileRead parseMemberFile(std::vector<std::string> lines);

// roster.txt of the main folder.
MemberFileRead readRoster(const std::filesystem::path& mainFolder);

// The five fields a roster file holds, and nothing else of the record.
MemberRecord rosterFields(const MemberRecord& member);

// The text of a file in the roster format: five fields and an empty line each.
std::string memberFileText(const MemberTable& members);

// The operator's messages about a file in the roster format, by its name.
std::string memberFileMissingText(const std::string& fileName);
std::string memberFileDamagedText(const std::string& fileName);
// The message for a read that did not give the members (status not Ok).
std::string memberFileProblemText(MemberFileStatus status, const std::string& fileName,
                                  int systemError = 0);

} // namespace quenmark
