#include "core/pages/page_context.h"

namespace quenmark {

PageContext::PageContext(const std::filesystem::path& mainFolder, MemberTable& members,
                         const RecordTable& records, const SiteSettings& settings, Clock& clock)
    : mainFolder(mainFolder), members(members), records(records), clock(clock),
      pointColor(settings.pointColor), pointMax(quenmark::pointMax(settings.pointMaxIndex)),
      penaltySeconds(quenmark::penaltySeconds(settings.penaltyIndex)),
      alignWord(quenmark::alignWord(settings.alignIndex)) {}

} // namespace quenmark
