#include "core/pages/points_page.h"

#include "core/model/levels.h"
#include "core/pages/template_filler.h"
#include "core/standings/standings.h"

namespace quenmark {

namespace {

// Points of the first six places, markers 1 to 6.
constexpr int kLastPlaceMarker = 6;
constexpr int kCountDownBaseMarker = 7;
constexpr int kColorMarker = 8;
constexpr int kMostPointsMarker = 9;

std::string pointText(const PageContext& context, int marker) {
    if (marker >= 1 && marker <= kLastPlaceMarker)
        return "<font color=" + context.pointColor + ">" +
               std::to_string(pointsForPlace(marker - 1, context.pointMax)) + "</font>";
    if (marker == kCountDownBaseMarker)
        return std::to_string(countDownBase(context.pointMax));
    if (marker == kColorMarker)
        return context.pointColor;
    return std::to_string(context.pointMax * kCellCount);
}

} // namespace

bool writePointsPage(const PageContext& context) {
    return fillTemplate(context.mainFolder, "points.html", "points.htm", 1,
                        [&](int marker, std::string& line, PageOutput&) {
                            if (marker >= 1 && marker <= kMostPointsMarker)
                                replaceMarkers(line, pointText(context, marker));
                        });
}

} // namespace quenmark
