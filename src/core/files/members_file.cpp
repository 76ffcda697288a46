#include "core/files/members_file.h"

#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/invalid_names.h"
#include "core/model/leading_number.h"
#include "core/model/roster_file.h"
#include "core/model/sort_numbers.h"
#include "core/model/text_file.h"

#include <algorithm>
#include <stdexcept>

namespace quenmark {

namespace {

unsigned char foldCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    // A-Z, and the Latin-1 capitals (the multiplication sign is no letter).
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<unsigned char>(byte + 0x20);
    return byte;
}

std::filesystem::path memberFile(const std::filesystem::path& mainFolder, MemberStatus status) {
    return mainFolder / (status == MemberStatus::Active ? kRosterFile : kBannedFile);
}

void checkPosition(const MemberSequence& sequence, std::size_t position) {
    if (position >= sequence.size())
        throw std::out_of_range("member position outside the member sequence");
}

} // namespace

MemberSequence::MemberSequence(MemberTable active, MemberTable banned)
    : m_active(std::move(active)), m_banned(std::move(banned)) {}

const MemberRecord& MemberSequence::at(std::size_t position) const {
    checkPosition(*this, position);
    return position < m_active.size() ? m_active[position] : m_banned[position - m_active.size()];
}

MemberStatus MemberSequence::statusAt(std::size_t position) const {
    checkPosition(*this, position);
    return position < m_active.size() ? MemberStatus::Active : MemberStatus::Banned;
}

std::vector<std::string> MemberSequence::names() const {
    std::vector<std::string> names;
    names.reserve(size());
    for (const MemberTable* table : {&m_active, &m_banned})
        for (const MemberRecord& member : *table)
            names.push_back(member.Name);
    return names;
}

std::optional<std::size_t> MemberSequence::findName(std::string_view name) const {
    const std::string wanted = lowerCase(name);
    for (std::size_t i = 0; i < size(); ++i)
        if (lowerCase(at(i).Name) == wanted)
            return i;
    return std::nullopt;
}

void MemberSequence::replace(std::size_t position, const MemberRecord& record,
                             MemberStatus status) {
    const MemberStatus old = statusAt(position);
    MemberRecord fields = rosterFields(record);
    if (old == status) {
        (old == MemberStatus::Active ? m_active[position] : m_banned[position - m_active.size()]) =
            std::move(fields);
        return;
    }
    remove(position);
    if (status == MemberStatus::Banned)
        m_banned.insert(m_banned.begin(), std::move(fields));
    else
        m_active.push_back(std::move(fields));
}

void MemberSequence::remove(std::size_t position) {
    checkPosition(*this, position);
    if (position < m_active.size())
        m_active.erase(m_active.begin() + static_cast<std::ptrdiff_t>(position));
    else
        m_banned.erase(m_banned.begin() + static_cast<std::ptrdiff_t>(position - m_active.size()));
}

void MemberSequence::sortByName() {
    auto byName = [](const MemberRecord& a, const MemberRecord& b) {
        return lessIgnoringCase(a.Name, b.Name);
    };
    std::stable_sort(m_active.begin(), m_active.end(), byName);
    std::stable_sort(m_banned.begin(), m_banned.end(), byName);
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldCase(x) < foldCase(y); });
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(foldCase(c));
    return lower;
}

MemberSequenceRead readMemberSequence(const std::filesystem::path& mainFolder) {
    MemberSequenceRead result;
    MemberTable tables[2];
    for (MemberStatus status : {MemberStatus::Active, MemberStatus::Banned}) {
        const char* name = status == MemberStatus::Active ? kRosterFile : kBannedFile;
        MemberFileRead read = readMemberFile(mainFolder / name);
        if (read.status == MemberFileStatus::Missing) {
            result.problem = OperatorMessage{"Critical Error", memberFileMissingText(name),
                                             MessageIcon::Critical};
            result.missing = true;
            return result;
        }
        if (read.status != MemberFileStatus::Ok) {
            result.problem =
                errorMessage(memberFileProblemText(read.status, name, read.systemError));
            return result;
        }
        tables[status == MemberStatus::Active ? 0 : 1] = std::move(read.members);
    }
    result.sequence = MemberSequence(std::move(tables[0]), std::move(tables[1]));
    return result;
}

void writeMemberSequence(const std::filesystem::path& mainFolder, const MemberSequence& sequence,
                         MemberStatus writtenFirst) {
    const MemberStatus second =
        writtenFirst == MemberStatus::Active ? MemberStatus::Banned : MemberStatus::Active;
    for (MemberStatus status : {writtenFirst, second}) {
        const MemberTable& table =
            status == MemberStatus::Active ? sequence.active() : sequence.banned();
        replaceFile(memberFile(mainFolder, status), memberFileText(table));
    }
}

MemberSequenceRead sortMemberFiles(const std::filesystem::path& mainFolder) {
    removeReplacementLeftovers(mainFolder);
    MemberSequenceRead read = readMemberSequence(mainFolder);
    if (read.problem)
        return read;
    read.sequence.sortByName();
    writeMemberSequence(mainFolder, read.sequence);
    return readMemberSequence(mainFolder);
}

std::vector<InvalidNameEntry> readInvalidNameEntries(const std::filesystem::path& mainFolder) {
    std::vector<InvalidNameEntry> entries;
    auto lines = readLines(mainFolder / kInvalidNamesFile, kInvalidNamesFile);
    if (!lines)
        return entries;
    for (std::size_t i = 0; i < lines->size(); i += 3) {
        if (i + 1 >= lines->size())
            throw FileError(std::string("\"") + kInvalidNamesFile +
                            "\" is damaged: its last entry has no number.");
        entries.push_back({(*lines)[i], (*lines)[i + 1]});
    }
    return entries;
}

void writeInvalidNameEntries(const std::filesystem::path& mainFolder,
                             const std::vector<InvalidNameEntry>& entries) {
    TextBuilder text;
    for (const InvalidNameEntry& entry : entries)
        text.line(entry.name).line(entry.numberText).line("");
    replaceFile(mainFolder / kInvalidNamesFile, text.text());
}

bool hasInvalidNameLine(const std::filesystem::path& mainFolder, const std::string& name) {
    auto lines = readLines(mainFolder / kInvalidNamesFile, kInvalidNamesFile);
    return lines && std::find(lines->begin(), lines->end(), name) != lines->end();
}

std::int32_t nextFreeNumber(const std::vector<InvalidNameEntry>& entries) {
    std::vector<std::int32_t> numbers;
    numbers.reserve(entries.size());
    for (const InvalidNameEntry& entry : entries)
        numbers.push_back(toInt32(leadingNumber(entry.numberText)));
    std::int32_t candidate = 1;
    for (std::int32_t number : sortNumbersAscending(std::move(numbers)))
        if (number == candidate)
            candidate = number + 1;
    return candidate;
}

std::int32_t nextFreeNumber(const std::filesystem::path& mainFolder) {
    return nextFreeNumber(readInvalidNameEntries(mainFolder));
}

void saveMember(const std::filesystem::path& mainFolder, MemberSequence& sequence,
                std::size_t position, const MemberRecord& fields, MemberStatus status,
                bool invalidTicked) {
    removeReplacementLeftovers(mainFolder);
    const std::string storedName = sequence.at(position).Name;
    const MemberStatus oldStatus = sequence.statusAt(position);
    std::vector<InvalidNameEntry> entries = readInvalidNameEntries(mainFolder);
    auto isHis = [&](const InvalidNameEntry& entry) { return entry.name == storedName; };
    const bool hasEntry = std::any_of(entries.begin(), entries.end(), isHis);
    // A name holds one number: a member renamed onto a name that has one takes
    // that name's number, which stays, and his own goes.
    const bool newNameHasEntry =
        fields.Name != storedName &&
        std::any_of(entries.begin(), entries.end(),
                    [&](const InvalidNameEntry& entry) { return entry.name == fields.Name; });

    if (hasEntry && (!invalidTicked || newNameHasEntry)) {
        std::erase_if(entries, isHis);
        writeInvalidNameEntries(mainFolder, entries);
    } else if (hasEntry && fields.Name != storedName) {
        // A renamed member keeps his number, so his page and time file keep their names.
        for (InvalidNameEntry& entry : entries)
            if (isHis(entry))
                entry.name = fields.Name;
        writeInvalidNameEntries(mainFolder, entries);
    } else if (!hasEntry && invalidTicked && !newNameHasEntry) {
        const std::int32_t number = nextFreeNumber(entries);
        entries.push_back({fields.Name, numberForm(number)});
        writeInvalidNameEntries(mainFolder, entries);
    }

    sequence.replace(position, fields, status);
    const bool banned = oldStatus == MemberStatus::Active && status == MemberStatus::Banned;
    writeMemberSequence(mainFolder, sequence, banned ? MemberStatus::Banned : MemberStatus::Active);
}

void deleteMember(const std::filesystem::path& mainFolder, MemberSequence& sequence,
                  std::size_t position) {
    removeReplacementLeftovers(mainFolder);
    const std::string name = sequence.at(position).Name;
    std::vector<InvalidNameEntry> entries = readInvalidNameEntries(mainFolder);
    std::erase_if(entries, [&](const InvalidNameEntry& entry) { return entry.name == name; });
    writeInvalidNameEntries(mainFolder, entries);
    sequence.remove(position);
    writeMemberSequence(mainFolder, sequence);
}

void addMember(const std::filesystem::path& mainFolder, const MemberRecord& fields,
               bool invalidTicked) {
    removeReplacementLeftovers(mainFolder);
    // Rewritten whole rather than appended to, so a roster whose last record
    // lacks its empty line cannot swallow the new name as that line.
    MemberFileRead roster = readRoster(mainFolder);
    if (roster.status == MemberFileStatus::Damaged || roster.status == MemberFileStatus::Unreadable)
        throw FileError(memberFileProblemText(roster.status, kRosterFile, roster.systemError));
    std::vector<InvalidNameEntry> entries;
    if (invalidTicked)
        entries = readInvalidNameEntries(mainFolder); // checked before anything is written

    roster.members.push_back(rosterFields(fields));
    replaceFile(mainFolder / kRosterFile, memberFileText(roster.members));

    if (invalidTicked) {
        const std::int32_t number = nextFreeNumber(entries);
        entries.push_back({fields.Name, numberForm(number)});
        writeInvalidNameEntries(mainFolder, entries);
    }
}

} // namespace quenmark
