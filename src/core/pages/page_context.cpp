#include "core/pages/page_context.h"

PageContext::PageContext(const std::filesystem::path& mainFolder, MemberTable& members,
                         const RecordTable& records, const SiteSettings& settings, Clock& clock)
    : mainFolder(mainFolder), members(members), records(records), clock(clock),
      pointColor(settings.pointColor), pointMax(::pointMax(settings.pointMaxIndex)),
      penaltySeconds(::penaltySeconds(settings.penaltyIndex)),
      alignWord(::alignWord(settings.alignIndex)) {}
