// times.dat as the Enforced Times window reads and changes it and a run applies
// it, on arbitrary bytes: setting a time makes it the one found for its member,
// level and difficulty; clearing it leaves none; every other entry stays as it
// was; applying the entries to a member of the first entry's name never fails.
// Input: the time to set (empty: clear), NUL, times.dat.
#include "core/files/enforced_times_file.h"
#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "core/standings/enforced_times.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_folder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string_view>

using namespace quenmark;

namespace {

bool matches(const EnforcedTime& e, const EnforcedTime& key) {
    return e.memberName == key.memberName && e.level == key.level && e.difficulty == key.difficulty;
}

std::vector<EnforcedTime> others(const std::vector<EnforcedTime>& entries,
                                 const EnforcedTime& key) {
    std::vector<EnforcedTime> kept;
    for (const EnforcedTime& e : entries)
        if (!matches(e, key))
            kept.push_back(e);
    return kept;
}

bool sameEntries(const std::vector<EnforcedTime>& a, const std::vector<EnforcedTime>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].memberName != b[i].memberName || a[i].levelText != b[i].levelText ||
            a[i].difficultyText != b[i].difficultyText || a[i].time != b[i].time)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = bytes.find('\0');
    if (cut == std::string_view::npos)
        return 0;
    const std::string time(bytes.substr(0, cut));
    if (time.find('\n') != std::string::npos)
        return 0; // the window's one-line field holds no line end
    bytes.remove_prefix(cut + 1);

    const std::vector<EnforcedTime> before = enforcedTimesFromText(bytes);
    EnforcedTime key;
    key.memberName = "Ann";
    for (const EnforcedTime& e : before)
        if (e.complete && e.memberName.find('\n') == std::string::npos) {
            key = e;
            break;
        }

    MemberRecord member;
    member.Name = key.memberName;
    EnforcedTimes(before, 1200).apply(member);

    const std::filesystem::path folder = freshFuzzFolder();
    std::ofstream(folder / kEnforcedTimesFile, std::ios::binary) << bytes;
    setEnforcedTime(folder, key.memberName, key.level, key.difficulty, time);
    const std::vector<EnforcedTime> after = readEnforcedTimes(folder);
    require(findEnforcedTime(folder, key.memberName, key.level, key.difficulty) == time);
    require(sameEntries(others(before, key), others(after, key)));
    return 0;
}
