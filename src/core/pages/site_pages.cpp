#include "core/pages/site_pages.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "core/pages/elite2_page.h"
#include "core/pages/elite_page.h"
#include "core/pages/levels/difficulty_pages.h"
#include "core/pages/levels/leaders_page.h"
#include "core/pages/levels/stage_pages.h"
#include "core/pages/points_page.h"
#include "core/pages/roster_page.h"
#include "core/pages/template_filler.h"

#include <array>
#include <functional>

namespace quenmark {

namespace {

struct SitePage {
    const char* templateFile;
    std::function<bool(const PageContext&)> write;
};

} // namespace

// The elite page goes first: its standings tables compute the per-difficulty
// totals that elite2 and the difficulty pages only read.
std::optional<OperatorMessage> writeSitePages(const std::filesystem::path& mainFolder,
                                              MemberTable& members, const RecordTable& records,
                                              const SiteSettings& settings, Clock& clock) {
    const PageContext context(mainFolder, members, records, settings, clock);
    const std::array<SitePage, 8> pages = {{
        {"elite.html", writeElitePage},
        {"elite2.html", writeElite2Page},
        {"stage.html", writeStagePages},
        {"diff.html",
         [](const PageContext& c) { return writeDifficultyPages(c, DifficultyPageKind::Points); }},
        {"diff.html",
         [](const PageContext& c) { return writeDifficultyPages(c, DifficultyPageKind::Time); }},
        {"leaders.html", writeLeadersPage},
        {"roster.html", writeRosterPage},
        {"points.html", writePointsPage},
    }};
    for (const SitePage& page : pages)
        if (!page.write(context))
            return templateMissingMessage(page.templateFile);
    return std::nullopt;
}

OperatorMessage templateMissingMessage(std::string_view templateFile) {
    return errorMessage("\"" + templateShownName(templateFile) + "\" could not be found.");
}

// Opened as the run opens it, so a template there but unreadable stops the run too.
std::optional<OperatorMessage> missingTemplateMessage(const std::filesystem::path& mainFolder) {
    for (const char* templateFile : kSiteTemplates) {
        const FileReadStatus status =
            InputFile(mainFolder / kTemplatesFolder / templateFile).status();
        if (status == FileReadStatus::Missing)
            return templateMissingMessage(templateFile);
        if (status == FileReadStatus::Unreadable)
            return errorMessage(cannotRead(templateShownName(templateFile)).what());
    }
    return std::nullopt;
}

} // namespace quenmark
