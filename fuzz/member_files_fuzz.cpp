// The Members window's files on arbitrary bytes: roster.txt, banned.txt and
// invalidchrs.dat read, sorted and written back keep every member whole, and
// Save, Delete and New change exactly the member they act on.
// Input: a choice byte, roster.txt, NUL, banned.txt, NUL, invalidchrs.dat.
#include "core/files/members_file.h"
#include "core/main_folder.h"
#include "core/model/invalid_names.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_folder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string_view>

using namespace quenmark;

namespace {

void write(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::vector<std::string> sortedNames(const MemberSequence& sequence) {
    std::vector<std::string> names = sequence.names();
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::filesystem::path folder = freshFuzzFolder();
    write(folder / kRosterFile, nextPart(bytes));
    write(folder / kBannedFile, nextPart(bytes));
    write(folder / kInvalidNamesFile, bytes);

    const MemberSequenceRead first = readMemberSequence(folder);
    MemberSequenceRead read = sortMemberFiles(folder);
    require(first.problem.has_value() == read.problem.has_value());
    if (read.problem)
        return 0;
    MemberSequence& members = read.sequence;
    require(sortedNames(first.sequence) == sortedNames(members));
    const std::vector<std::string> names = members.names();
    for (std::size_t i = 1; i < members.activeCount(); ++i)
        require(!lessIgnoringCase(names[i], names[i - 1]));

    MemberRecord fields;
    fields.Name = "Zed";
    fields.Page = "http://z/";
    const bool ticked = (choice & 4) != 0;
    const std::size_t count = members.size();
    try {
        if (count == 0 || (choice & 3) == 0) {
            addMember(folder, fields, ticked);
            require(readMemberSequence(folder).sequence.size() == count + 1);
        } else if ((choice & 3) == 1) {
            const std::size_t position = (choice >> 3) % count;
            deleteMember(folder, members, position);
            require(readMemberSequence(folder).sequence.size() == count - 1);
        } else {
            const std::size_t position = (choice >> 3) % count;
            saveMember(folder, members, position, fields, MemberStatus::Banned, ticked);
            const MemberSequenceRead again = readMemberSequence(folder);
            require(again.sequence.size() == count);
            require(again.sequence.findName("Zed").has_value());
        }
    } catch (const FileError&) {
        // a damaged invalidchrs.dat is reported, never guessed at
    }
    return 0;
}
