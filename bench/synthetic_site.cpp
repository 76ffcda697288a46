#include "bench/synthetic_site.h"

#include "core/harvest/time_file.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>

using namespace quenmark;

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string clockText(int seconds) {
    const int s = seconds % 60;
    return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

const char* const kWords[] = {
    "speed",  "route",   "skip",   "glitch", "clean",   "practice", "attempt", "record",
    "jump",   "corner",  "door",   "ladder", "quick",   "slow",     "frame",   "perfect",
    "boost",  "second",  "minute", "guard",  "switch",  "corridor", "bridge",  "tower",
    "chance", "finally", "almost", "again",  "without", "between",  "the",     "a",
    "of",     "and",     "in",     "my",     "this",    "run",      "time",    "best"};

std::string sentence(std::mt19937& random, int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        text += kWords[random() % std::size(kWords)];
        text += i + 1 < words ? " " : ".";
    }
    text[0] = static_cast<char>(text[0] - 32);
    return text;
}

std::string paragraph(std::mt19937& random, int sentences, const char* eol) {
    std::string text = "<p>";
    for (int i = 0; i < sentences; ++i) {
        text += sentence(random, 6 + static_cast<int>(random() % 10));
        text += i % 3 == 2 ? eol : " ";
    }
    return text + "</p>" + eol;
}

std::string cellText(std::mt19937& random, SyntheticSite::PageKind kind, int cell,
                     int implausibleCell) {
    using Kind = SyntheticSite::PageKind;
    if (kind == Kind::AllNa)
        return random() % 2 ? "N/A" : "n/a";
    if (kind == Kind::Implausible && cell == implausibleCell)
        return "0:0" + std::to_string(random() % 5);
    if (kind == Kind::SomeNa && random() % 4 == 0)
        return "N/A";
    const std::string time = clockText(25 + static_cast<int>(random() % 900));
    if (kind == Kind::Bold && random() % 3 == 0)
        return "<b>" + time + "</b>";
    return time;
}

std::string pageText(std::mt19937& random, const std::string& name, SyntheticSite::PageKind kind) {
    using Kind = SyntheticSite::PageKind;
    const char* eol = random() % 2 ? "\r\n" : "\n";
    if (kind == Kind::Empty)
        return "";
    if (kind == Kind::ErrorPage)
        return std::string("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">") + eol +
               "<html><head><title>404 Not Found</title></head><body>" + eol +
               "<h1>Not Found</h1>" + eol +
               "<p>The requested URL was not found on this server.</p>" + eol + "</body></html>" +
               eol;

    std::string page;
    page.reserve(7000);
    const auto line = [&](const std::string& text) { page += text + eol; };
    line("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    line("<html>");
    line("<head>");
    line("<title>" + name + " - Quenmark times</title>");
    line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">");
    line("<meta name=\"description\" content=\"Best times of " + name +
         " in every level and difficulty\">");
    line("<style type=\"text/css\">");
    const char* const css[] = {
        "body { background-color: #000018; color: #c8c8d8; font-family: Verdana, Arial, "
        "sans-serif; "
        "font-size: 10pt; margin: 20px 40px; }",
        "h1 { color: #ffd040; font-size: 18pt; border-bottom: 1px solid #404060; }",
        "h2 { color: #e0b030; font-size: 13pt; margin-top: 24px; }",
        "a:link { color: #80a0ff; text-decoration: none; } a:visited { color: #a080ff; }",
        "a:hover { color: #ffffff; text-decoration: underline; }",
        "table.times { border-collapse: collapse; margin: 12px 0px; background: #101028; }",
        "table.times td, table.times th { border: 1px solid #303050; padding: 3px 10px; }",
        "th { color: #ffd040; background-color: #202048; text-align: center; }",
        "td.level { color: #f0f0f0; text-align: left; font-weight: normal; }",
        "td.time { text-align: center; font-family: 'Courier New', monospace; }",
        "p.note { font-size: 8pt; color: #8080a0; }",
        "address { font-size: 8pt; color: #606080; margin-top: 30px; }"};
    for (const char* rule : css)
        line(rule);
    line("</style>");
    line("</head>");
    line("<body>");
    line("<h1>" + name + "'s speed runs</h1>");
    page += paragraph(random, 10, eol);
    line("<h2>Best times</h2>");
    line("<table class=\"times\" border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"80%\">");
    line("<tr><th>Level</th><th>Rookie</th><th>Veteran</th><th>Master</th></tr>");
    const int implausibleCell = static_cast<int>(random() % kCellCount);
    const int rows = kind == Kind::ErrorPage ? 0 : kLevelCount;
    for (int l = 0; l < rows; ++l) {
        std::string row = std::string("<tr bgcolor=\"") + (l % 2 ? "#141430" : "#1c1c40") +
                          "\"><td class=\"level\"><font color=\"#f0e0a0\">" +
                          std::string(kLevelNames[l]) + "</font></td>";
        for (int d = 0; d < kDifficultyCount; ++d)
            row += "<td class=\"time\">" +
                   cellText(random, kind, cellIndex(l, d), implausibleCell) + "</td>";
        line(row + "</tr>");
    }
    line("</table>");
    line("<h2>Notes</h2>");
    page += paragraph(random, 6, eol);
    page += paragraph(random, 5, eol);
    line("<h2>Equipment</h2>");
    page += paragraph(random, 6, eol);
    line("<p class=\"note\">Times are m:ss, taken from my own recordings; N/A means not played "
         "yet.</p>");
    line("<hr>");
    line("<address>Page kept by " + name +
         " &middot; <a href=\"mailto:runner@example.invalid\">"
         "write to me</a> &middot; <a href=\"../index.html\">back to the index</a></address>");
    line("</body>");
    line("</html>");
    return page;
}

SyntheticSite::PageKind pickKind(std::mt19937& random) {
    using Kind = SyntheticSite::PageKind;
    const int r = static_cast<int>(random() % 100);
    if (r < 55)
        return Kind::Good;
    if (r < 70)
        return Kind::Bold;
    if (r < 85)
        return Kind::SomeNa;
    if (r < 88)
        return Kind::AllNa;
    if (r < 92)
        return Kind::Implausible;
    if (r < 96)
        return Kind::ErrorPage;
    if (r < 98)
        return Kind::Empty;
    return Kind::Missing;
}

} // namespace

SyntheticSite SyntheticSite::build(int memberCount, std::filesystem::path folder, unsigned seed) {
    if (folder.empty()) {
        const char* parent = std::getenv("QUENMARK_BENCH_DIR");
        std::string pattern = ((parent && *parent ? std::filesystem::path(parent)
                                                  : std::filesystem::temp_directory_path()) /
                               "quenmark-bench-XXXXXX")
                                  .string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        folder = pattern;
    }
    for (const char* sub : {"lynx", "download", "templates", "upload"})
        std::filesystem::create_directories(folder / sub);

    SyntheticSite site;
    site.m_folder = folder;
    site.m_settings = defaultSettings();
    std::mt19937 random(seed);
    const int penalty = penaltySeconds(site.m_settings.penaltyIndex);

    MemberTable members;
    std::string invalid;
    std::string times;
    for (int i = 0; i < memberCount; ++i) {
        MemberRecord m;
        std::string base;
        if (i % 100 == 42) {
            m.Name = "AC/DC fan " + std::to_string(i);
            base = std::to_string(i / 100 + 1);
            invalid += m.Name + "\r\n " + base + " \r\n";
        } else {
            m.Name = (i % 7 == 0 ? "Speedy Runner " : "Player") + std::to_string(i);
            base = m.Name;
        }
        m.Initials = m.Name.substr(0, 2);
        m.Color = i % 3 ? "#ffffff" : "#ffd040";
        m.Page = "http://members.example.invalid/~runner" + std::to_string(i) + "/quenmark.html";
        m.Email = "runner" + std::to_string(i) + "@example.invalid";

        const PageKind kind = pickKind(random);
        site.m_kinds.push_back(kind);
        site.m_baseNames.push_back(base);
        if (kind != PageKind::Missing)
            writeFile(folder / ("download/" + base + ".html"), pageText(random, m.Name, kind));

        std::string firstTimeFile;
        if (i % 2 == 0) {
            CellTimes old{};
            for (auto& t : old)
                t = static_cast<std::int16_t>(random() % 8 == 0 ? penalty : 30 + random() % 900);
            firstTimeFile = timeFileText(old);
        }
        site.m_firstTimeFiles.push_back(firstTimeFile);

        if (i % 10 == 3) {
            const int level = static_cast<int>(random() % kLevelCount);
            const int difficulty = static_cast<int>(random() % kDifficultyCount);
            const std::string time =
                random() % 5 == 0 ? "N/A" : clockText(20 + static_cast<int>(random() % 600));
            times += m.Name + "\r\n" + numberForm(level) + "\r\n" + numberForm(difficulty) +
                     "\r\n" + time + "\r\n\r\n";
        }
        members.push_back(std::move(m));
    }
    writeFile(folder / "roster.txt", memberFileText(members));
    writeFile(folder / "invalidchrs.dat", invalid);
    writeFile(folder / "times.dat", times);
    saveSettings(folder, site.m_settings);
    site.resetRunState();
    return site;
}

SyntheticSite& SyntheticSite::cached(int memberCount) {
    struct Cache {
        std::map<int, std::unique_ptr<SyntheticSite>> sites;
        ~Cache() {
            for (auto& [count, site] : sites)
                site->remove();
        }
    };
    static Cache cache;
    auto& site = cache.sites[memberCount];
    if (!site)
        site = std::make_unique<SyntheticSite>(build(memberCount));
    return *site;
}

MemberTable SyntheticSite::readMembers() const {
    MemberFileRead roster = readRoster(m_folder);
    if (roster.status != MemberFileStatus::Ok)
        throw std::runtime_error("cannot read the synthetic roster");
    return std::move(roster.members);
}

void SyntheticSite::resetRunState() const {
    for (std::size_t i = 0; i < m_baseNames.size(); ++i) {
        const auto path = m_folder / ("download/" + m_baseNames[i] + ".txt");
        if (m_firstTimeFiles[i].empty())
            removeFileIfPresent(path);
        else
            writeFile(path, m_firstTimeFiles[i]);
    }
    writeFile(m_folder / "errors.txt", "");
}

void SyntheticSite::remove() const {
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
}
