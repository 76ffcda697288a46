#include "core/pages/elite2_page.h"

#include "core/pages/standings_rows.h"
#include "core/pages/template_filler.h"

namespace quenmark {

namespace {

constexpr int kPointsMarker = 1;
constexpr int kTimesMarker = 2;
constexpr int kDateMarker = 3;

} // namespace

bool writeElite2Page(const PageContext& context) {
    return fillTemplate(context.mainFolder, "elite2.html", "elite2.htm", 1,
                        [&](int marker, std::string& line, PageOutput& page) {
                            switch (marker) {
                            case kPointsMarker:
                                writePointsStandings(context, page, kNoRankLimit);
                                endTable(line);
                                break;
                            case kTimesMarker:
                                writeTimeStandings(context, page, kNoRankLimit);
                                endTable(line);
                                break;
                            case kDateMarker:
                                replaceMarkers(line, context.clock.dateStamp());
                                break;
                            default:
                                break;
                            }
                        });
}

} // namespace quenmark
