#include "core/pages/roster_page.h"

#include "core/pages/template_filler.h"
#include "core/pages/text_pieces.h"

namespace quenmark {

namespace {

constexpr int kRowsMarker = 1;
constexpr int kDateMarker = 2;
// The roster's mark for a member whose address is not known.
constexpr std::string_view kNoEmail = "???";

void appendMemberRow(std::string& row, const PageContext& context, const MemberRecord& member) {
    appendPieces(row, "<tr align=", context.alignWord, "><td><font color=", member.Color, ">",
                 member.Name, "</td><td><a href=", member.Page, ">(times)</a></td><td>");
    if (member.Email == kNoEmail)
        appendPiece(row, kNoEmail);
    else
        appendPieces(row, "<a href=mailto:", member.Email, ">(e-mail)</a>");
    appendPiece(row, "</td></tr>");
}

} // namespace

bool writeRosterPage(const PageContext& context) {
    return fillTemplate(context.mainFolder, "roster.html", "roster.htm", 1,
                        [&](int marker, std::string& line, PageOutput& page) {
                            if (marker == kRowsMarker) {
                                std::string row;
                                for (const MemberRecord& member : context.members) {
                                    row.clear();
                                    appendMemberRow(row, context, member);
                                    page.line(row);
                                }
                                endTable(line);
                            } else if (marker == kDateMarker) {
                                replaceMarkers(line, context.clock.dateStamp());
                            }
                        });
}

} // namespace quenmark
