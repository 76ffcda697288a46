// The whole processing half of an update run: the timer tick that finds the
// sentinel (every member's page read, fallbacks, time files, error log and
// enforced times; records and points; the 25 pages from the example templates;
// ftp.dat) against a baseline that only does the I/O the tick cannot avoid:
// read every file the tick reads and write every byte it writes, each kind of
// file written the way the tick writes it.
//
// Targets: the whole half <= 2 x baseline at N = 10,000; 10 x the
// members <= 12 x the time (N = 1,000 vs 10,000).
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENMARK_BENCH=ON
//   cmake --build build-bench --target quenmark_bench
//   build-bench/bench/quenmark_bench --benchmark_filter=WholeProcessingHalf
#include "bench/synthetic_site.h"
#include "core/harvest/download_batch.h"
#include "core/harvest/page_parser.h"
#include "core/harvest/time_file.h"
#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/ports/clock.h"
#include "core/standings/settle_member_times.h"
#include "core/update_run.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <map>
#include <stdexcept>
#include <utility>

using namespace quenmark;

namespace {

namespace fs = std::filesystem;
using Stopwatch = std::chrono::steady_clock;

double secondsSince(Stopwatch::time_point start) {
    return std::chrono::duration<double>(Stopwatch::now() - start).count();
}

class NoProcesses : public BatchStarter, public UploadStarter {
public:
    bool findsProgram(const fs::path&, const std::string&) override { return true; }
    void endLeftoverBatch(const fs::path&) override {}
    bool startBatch(const fs::path&, const std::string&) override { return true; }
    bool batchRunning() override { return false; }
    void endBatch() override {}
    void endLeftoverUpload(const fs::path&) override {}
    bool startUpload(const fs::path&, const std::string&, std::chrono::seconds,
                     UploadHandlers) override {
        return true;
    }
    void endUploads() override {}
};

class NoLock : public RunLock {
public:
    Result take(const fs::path&) override { return Result::Taken; }
    void release() override {}
};

class QuietObserver : public RunObserver {
public:
    void captionChanged(const std::string&) override {}
    void stageChanged(int) override {}
    void buttonsEnabledChanged(bool) override {}
    void timerChanged(bool) override {}
    void showMessage(const OperatorMessage& message) override { last = message; }
    void downloadCountChanged(int, int) override {}
    void uploadCountChanged(int, int) override {}
    void summaryChanged(const std::string&) override {}
    void uploadEnded(const UploadEnd&) override {}
    OperatorMessage last;
};

class FixedClock : public Clock {
public:
    std::string dateStamp() override { return "Friday, 15 January 2027 at 08:05"; }
    std::string timeOfDay() override { return "08:05"; }
};

const fs::path kExampleTemplates =
    fs::path(__FILE__).parent_path().parent_path() / "examples" / "templates";

// The synthetic site with the example templates in its templates folder.
const SyntheticSite& siteWithTemplates(int memberCount) {
    const SyntheticSite& site = SyntheticSite::cached(memberCount);
    for (const auto& entry : fs::directory_iterator(kExampleTemplates))
        if (entry.path().extension() == ".html")
            fs::copy_file(entry.path(), site.folder() / "templates" / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
    return site;
}

// The tick on a folder as build left it, after an Update command (whose batch
// never runs) and the downloads' sentinel; the seconds the tick took.
double timeTick(const SyntheticSite& site) {
    site.resetRunState();
    NoProcesses processes;
    NoLock lock;
    QuietObserver observer;
    FixedClock clock;
    UpdateRun run(site.folder(), processes, processes, lock, clock, observer);
    run.updateCommand();
    std::ofstream(site.folder() / kSentinelFile, std::ios::binary) << "<html></html>\r\n";
    const auto start = Stopwatch::now();
    run.tick();
    const double seconds = secondsSince(start);
    if (run.outcome() != RunOutcome::Uploading) // the stand-in client never ends
        throw std::runtime_error("the run stopped: " + observer.last.text);
    return seconds;
}

// What the tick reads, and what it writes with the bytes of one real tick.
struct BaselineWork {
    std::vector<fs::path> reads;
    std::vector<std::pair<fs::path, std::string>> timeFiles; // replaced whole
    std::vector<std::pair<fs::path, std::string>> pages;     // written through one stream
    std::vector<std::pair<fs::path, std::string>> others;    // errors.txt, ftp.dat
};

std::string bytesOf(const fs::path& path) {
    std::string bytes;
    readWholeFile(path, bytes);
    return bytes;
}

const BaselineWork& baselineWork(const SyntheticSite& site) {
    static std::map<fs::path, BaselineWork> cache;
    auto [found, inserted] = cache.try_emplace(site.folder());
    if (!inserted)
        return found->second;
    BaselineWork& work = found->second;
    const fs::path& folder = site.folder();

    // Which members fall back on their time file: a settle on a fresh table.
    site.resetRunState();
    MemberTable members = site.readMembers();
    settleMemberTimes(folder, members, site.settings());
    site.resetRunState();
    timeTick(site);

    for (const char* name :
         {"roster.txt", "settings.dat", "invalidchrs.dat", "times.dat", "settings.dat"})
        work.reads.push_back(folder / name);
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::string& base = site.baseNames()[i];
        if (fs::exists(memberPagePath(folder, base)))
            work.reads.push_back(memberPagePath(folder, base));
        if (members[i].PageOk)
            work.timeFiles.emplace_back(timeFilePath(folder, base),
                                        bytesOf(timeFilePath(folder, base)));
        else if (fs::exists(timeFilePath(folder, base)))
            work.reads.push_back(timeFilePath(folder, base));
    }
    // One template read per page written.
    const std::vector<std::pair<const char*, int>> templates = {
        {"elite.html", 1},   {"elite2.html", 1}, {"stage.html", 14}, {"diff.html", 6},
        {"leaders.html", 1}, {"roster.html", 1}, {"points.html", 1}};
    for (const auto& [name, pages] : templates)
        for (int page = 0; page < pages; ++page)
            work.reads.push_back(folder / "templates" / name);
    for (const auto& entry : fs::directory_iterator(folder / "upload"))
        if (entry.path().extension() == ".htm")
            work.pages.emplace_back(entry.path(), bytesOf(entry.path()));
    for (const char* name : {"errors.txt", "ftp.dat"})
        work.others.emplace_back(folder / name, bytesOf(folder / name));
    return work;
}

double timeBaseline(const SyntheticSite& site, const BaselineWork& work) {
    site.resetRunState();
    const auto start = Stopwatch::now();
    std::string buffer;
    std::size_t bytes = 0;
    for (const fs::path& path : work.reads) {
        readWholeFile(path, buffer);
        bytes += buffer.size();
    }
    for (const auto& [path, content] : work.timeFiles)
        replaceFile(path, content, Durability::Unsynced);
    for (const auto& [path, content] : work.pages) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    }
    for (const auto& [path, content] : work.others)
        replaceFile(path, content, Durability::Unsynced);
    const double seconds = secondsSince(start);
    benchmark::DoNotOptimize(bytes);
    return seconds;
}

std::size_t totalBytes(const std::vector<std::pair<fs::path, std::string>>& files) {
    std::size_t bytes = 0;
    for (const auto& file : files)
        bytes += file.second.size();
    return bytes;
}

// Each iteration times the tick and the baseline once each, one after the
// other, on the same folder state; the reported time is the tick's.
void WholeProcessingHalf(benchmark::State& state) {
    const SyntheticSite& site = siteWithTemplates(static_cast<int>(state.range(0)));
    const BaselineWork& work = baselineWork(site);
    double tick = 0, baseline = 0;
    for (auto _ : state) {
        const double t = timeTick(site);
        baseline += timeBaseline(site, work);
        tick += t;
        state.SetIterationTime(t);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["members"] = static_cast<double>(site.memberCount());
    state.counters["page_MB"] = static_cast<double>(totalBytes(work.pages)) / 1e6;
    state.counters["baseline_ms"] = baseline / n * 1e3;
    state.counters["processing_ms"] = tick / n * 1e3;
    state.counters["ratio"] = tick / baseline;
    state.counters["us_per_member"] = tick / n / site.memberCount() * 1e6;
}
BENCHMARK(WholeProcessingHalf)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->Repetitions(3);

} // namespace
