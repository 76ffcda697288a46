#include "core/pages/points_page.h"

#include "core/model/levels.h"
#include "core/pages/template_filler.h"

#include <array>

namespace quenmark {

namespace {

// Points of the first six places below the maximum, markers 1 to 6.
constexpr std::array<int, 6> kPlaceDeductions = {0, 3, 5, 6, 7, 8};
constexpr int kCountDownBaseMarker = 7;
constexpr int kColorMarker = 8;
constexpr int kMostPointsMarker = 9;

std::string pointText(const PageContext& context, int marker) {
    if (marker >= 1 && marker <= static_cast<int>(kPlaceDeductions.size()))
        return "<font color=" + context.pointColor + ">" +
               std::to_string(context.pointMax - kPlaceDeductions[marker - 1]) + "</font>";
    if (marker == kCountDownBaseMarker)
        return std::to_string(context.pointMax - 3);
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
