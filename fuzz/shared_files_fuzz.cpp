// The shared file readers on arbitrary bytes: roster.txt, settings.dat and
// invalidchrs.dat must read whatever an operator's editor left, never crash.
#include "core/files/settings_file.h"
#include "core/model/invalid_names.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quenmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = splitLines(bytes);
    const MemberFileRead roster = parseMemberFile(lines);
    const InvalidNameTable names(lines);
    for (const MemberRecord& member : roster.members)
        (void)isUsableBaseName(names.memberFileName(member.Name));
    const SiteSettings settings = parseSettings(lines);
    (void)pointMax(settings.pointMaxIndex);
    (void)penaltySeconds(settings.penaltyIndex);
    (void)alignWord(settings.alignIndex);
    (void)settingsText(settings);
    return 0;
}
