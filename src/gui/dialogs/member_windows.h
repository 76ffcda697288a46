#pragma once

#include "gui/window_keeper.h"

namespace quenmark {

class EnforcedTimesDialog;
class NewMemberDialog;
class SearchDialog;

// The windows a Members window opens. They outlive it, so they are kept by
// the Members window's owner: a later Members window brings the same ones to
// the front and becomes the one they report to.
struct MemberWindows {
    WindowKeeper<NewMemberDialog> newMember;
    WindowKeeper<SearchDialog> search;
    WindowKeeper<EnforcedTimesDialog> enforcedTimes;
};

} // namespace quenmark
