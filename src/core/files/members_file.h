#pragma once

#include "core/model/member_record.h"
#include "core/model/operator_message.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// A member's status is the file that holds him: roster.txt or banned.txt.
enum class MemberStatus { Active, Banned };

// Every member as the Members window lists him: the records of roster.txt in
// file order, then those of banned.txt. Position i is the list's entry i.
class MemberSequence {
public:
    MemberSequence() = default;
    MemberSequence(MemberTable active, MemberTable banned);

    std::size_t size() const { return m_active.size() + m_banned.size(); }
    std::size_t activeCount() const { return m_active.size(); }
    const MemberRecord& at(std::size_t position) const;
    MemberStatus statusAt(std::size_t position) const;
    std::vector<std::string> names() const;
    const MemberTable& active() const { return m_active; }
    const MemberTable& banned() const { return m_banned; }

    // The first member whose name equals the text, letter case aside.
    std::optional<std::size_t> findName(std::string_view name) const;

    // A member who changes status keeps his place in the sequence, so one
    // banned becomes the first of banned.txt and one let back in the last of
    // roster.txt.
    void replace(std::size_t position, const MemberRecord& record, MemberStatus status);
    void remove(std::size_t position);
    // Each file's records by name, letter case aside; equal names keep their order.
    void sortByName();

private:
    MemberTable m_active;
    MemberTable m_banned;
};

// The one name order of the windows: byte order after folding letter case
// (Latin-1 letters included); names equal but for case compare equal.
bool lessIgnoringCase(std::string_view a, std::string_view b);
std::string lowerCase(std::string_view text);

struct MemberSequenceRead {
    MemberSequence sequence;
    // Why the sequence could not be read; missing is set when a file does not exist.
    std::optional<OperatorMessage> problem;
    bool missing = false;
};

MemberSequenceRead readMemberSequence(const std::filesystem::path& mainFolder);

// Rewrites roster.txt and banned.txt whole, each atomically. The file named
// first is written first: a member moving into it is on disk twice for a moment
// rather than nowhere. Throws FileError.
void writeMemberSequence(const std::filesystem::path& mainFolder, const MemberSequence& sequence,
                         MemberStatus writtenFirst = MemberStatus::Active);

// Opening the Members window: both files sorted by name and written back, then
// read again for the list.
MemberSequenceRead sortMemberFiles(const std::filesystem::path& mainFolder);

// One entry of invalidchrs.dat; the number line is kept as read so a rewrite
// gives it back unchanged.
struct InvalidNameEntry {
    std::string name;
    std::string numberText;
};

// Entries of three lines (name, number, separator); the last may lack its
// separator. A missing file has no entries; a name without a number line makes
// the file damaged (FileError).
std::vector<InvalidNameEntry> readInvalidNameEntries(const std::filesystem::path& mainFolder);
void writeInvalidNameEntries(const std::filesystem::path& mainFolder,
                             const std::vector<InvalidNameEntry>& entries);

// Whether any line of invalidchrs.dat equals the name exactly, whatever its
// place in an entry: the same scan that finds a member's file name.
bool hasInvalidNameLine(const std::filesystem::path& mainFolder, const std::string& name);

// The smallest positive whole number that no entry holds.
std::int32_t nextFreeNumber(const std::vector<InvalidNameEntry>& entries);
std::int32_t nextFreeNumber(const std::filesystem::path& mainFolder);

// The Members window's Save for the member at the position: his invalidchrs.dat
// entries follow the box (a renamed member keeps his number under the new name;
// renamed onto a name that has a number, he takes that one and his own goes),
// his record becomes the fields and the status, and both files are written back.
// Throws FileError.
void saveMember(const std::filesystem::path& mainFolder, MemberSequence& sequence,
                std::size_t position, const MemberRecord& fields, MemberStatus status,
                bool invalidTicked);

// Removes the member at the position from the files and his entries from
// invalidchrs.dat; enforced times and time files stay. Throws FileError.
void deleteMember(const std::filesystem::path& mainFolder, MemberSequence& sequence,
                  std::size_t position);

// A new active member at the end of roster.txt, with the next free number in
// invalidchrs.dat when his name cannot name a file. Throws FileError.
void addMember(const std::filesystem::path& mainFolder, const MemberRecord& fields,
               bool invalidTicked);

} // namespace quenmark
