#pragma once

#include <array>
#include <cstddef>

namespace quenmark {

// The four progress lines of a run, 1 to 4, as the window shows them and the
// command line prints them.
inline constexpr std::array<const char*, 4> kStageNames = {
    "Reading Roster", "Downloading Member Pages", "Doing Scary Calculations",
    "Uploading Final Pages"};

inline constexpr int kDownloadStage = 2;

} // namespace quenmark
