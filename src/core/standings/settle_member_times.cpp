#include "core/standings/settle_member_times.h"

#include "core/harvest/download_batch.h"
#include "core/harvest/error_log.h"
#include "core/harvest/page_parser.h"
#include "core/harvest/time_file.h"
#include "core/model/invalid_names.h"
#include "core/model/text_file.h"
#include "core/standings/enforced_times.h"

namespace quenmark {

namespace {

// A member whose base name cannot name a file (it holds / \ " or a control
// character and invalidchrs.dat has no number for him): the batch fetched no
// page for him, and no time file is read or written in his name, since the name
// could reach outside the download folder ("../roster" would replace roster.txt).
void settleUnusableMember(MemberRecord& member, int penaltySeconds, ErrorLog& errors) {
    member.PageOk = false;
    member.Times.fill(static_cast<std::int16_t>(penaltySeconds));
    for (int difficulty = 0; difficulty < kDifficultyCount; ++difficulty)
        member.DifficultyTotal[difficulty] += kLevelCount * penaltySeconds;
    errors.add(member.Name + kInvalidFileNameSuffix);
}

std::optional<OperatorMessage> settleAll(const std::filesystem::path& mainFolder,
                                         MemberTable& members, int penaltySeconds,
                                         ErrorLog& errors) {
    // invalidchrs.dat and times.dat are read once per run, not once per member.
    const InvalidNameTable names = InvalidNameTable::read(mainFolder);
    std::optional<EnforcedTimes> enforced;
    for (MemberRecord& member : members) {
        member.PageOk = true;
        const std::string baseName = names.memberFileName(member.Name);
        if (isUsableBaseName(baseName)) {
            // A refused address got no batch line: whatever page file there is
            // was not fetched by this run.
            const PageRead read =
                isUsablePageAddress(member.Page)
                    ? parseMemberPage(mainFolder, member, baseName, penaltySeconds)
                    : PageRead::NotFetched;
            finishMember(mainFolder, member, baseName, read, penaltySeconds, errors);
        } else {
            settleUnusableMember(member, penaltySeconds, errors);
        }
        // The test for times.dat comes at the first member, after his page and
        // time file: with an empty roster it is never made.
        if (!enforced) {
            enforced = EnforcedTimes::read(mainFolder, penaltySeconds);
            if (!enforced)
                return timesFileMissingMessage();
        }
        enforced->apply(member);
    }
    return std::nullopt;
}

} // namespace

bool anyMemberPageRead(const std::filesystem::path& mainFolder, const MemberTable& members,
                       const SiteSettings& settings) {
    const InvalidNameTable names = InvalidNameTable::read(mainFolder);
    const int penalty = penaltySeconds(settings.penaltyIndex);
    bool fetched = false;
    for (const MemberRecord& member : members) {
        const std::string baseName = names.memberFileName(member.Name);
        if (!isUsableBaseName(baseName) || !isUsablePageAddress(member.Page))
            continue;
        fetched = true;
        MemberRecord scratch = member;
        try {
            if (parseMemberPage(mainFolder, scratch, baseName, penalty) == PageRead::Complete)
                return true;
        } catch (const FileError&) {
            // A page that cannot be read is not read; the run reports it if it goes on.
        }
    }
    return !fetched;
}

std::optional<OperatorMessage> settleMemberTimes(const std::filesystem::path& mainFolder,
                                                 MemberTable& members,
                                                 const SiteSettings& settings) {
    ErrorLog errors(mainFolder);
    std::optional<OperatorMessage> stop;
    try {
        stop = settleAll(mainFolder, members, penaltySeconds(settings.penaltyIndex), errors);
    } catch (...) {
        // The lines of the members handled so far still reach the log.
        try {
            errors.flush();
        } catch (const FileError&) {
        }
        throw;
    }
    errors.flush();
    return stop;
}

} // namespace quenmark
