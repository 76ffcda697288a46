#pragma once

// A synthetic main folder for the benchmarks: N members with realistic pages
// of about 6 KB, time files for half of them and one enforced time per ten
// members. Shared by every benchmark of the program: build it with
// SyntheticSite::build (or SyntheticSite::cached, which keeps one folder per
// member count for the life of the program).

#include "core/files/settings_file.h"
#include "core/model/member_record.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace quenmark;

class SyntheticSite {
public:
    // What each member's downloaded page holds.
    enum class PageKind { Good, Bold, SomeNa, AllNa, Implausible, ErrorPage, Empty, Missing };

    // Builds the folder (created when missing; when empty, a new folder under
    // $QUENMARK_BENCH_DIR or else the system's temporary folder) and fills it: roster.txt,
    // settings.dat (the default settings), invalidchrs.dat (a number for 1 member in 100, whose
    // name holds a "/"), times.dat, the folders lynx, download, templates (empty) and upload, one
    // page per member in download/, and time files for the members of even position. The same seed
    // gives the same folder.
    static SyntheticSite build(int memberCount, std::filesystem::path folder = {},
                               unsigned seed = 1);

    // One folder per member count, built on first use and removed at exit.
    static SyntheticSite& cached(int memberCount);

    const std::filesystem::path& folder() const { return m_folder; }
    int memberCount() const { return static_cast<int>(m_kinds.size()); }
    const std::vector<PageKind>& pageKinds() const { return m_kinds; }
    // Each member's base name (his name, or his number from invalidchrs.dat).
    const std::vector<std::string>& baseNames() const { return m_baseNames; }
    const SiteSettings& settings() const { return m_settings; }

    // The roster as the timer tick reads it, ready for reading the pages.
    MemberTable readMembers() const;

    // Puts the folder back as build left it after a run changed it: the first
    // time files, an empty errors.txt.
    void resetRunState() const;

    // Removes the folder.
    void remove() const;

private:
    std::filesystem::path m_folder;
    std::vector<PageKind> m_kinds;
    std::vector<std::string> m_baseNames;
    std::vector<std::string> m_firstTimeFiles; // empty: none at the start
    SiteSettings m_settings;
};
