#pragma once

#include <array>
#include <cstddef>

namespace quenmark {

// The four progress lines of a run, 1 to 4, as the window shows them and the
// command line prints them.
inline constexpr std::array<const char*, 4> kStageNames = {
    "Reading Roster", "Downloading Member Pages", "Doing Scary Calculations",
    "Uploading Final Pages"};

inline constexpr int kNoStage = 0; // none shown: the run is over or never began
inline constexpr int kReadingRosterStage = 1;
inline constexpr int kDownloadStage = 2;
inline constexpr int kCalculationStage = 3;
inline constexpr int kUploadStage = 4;

} // namespace quenmark
