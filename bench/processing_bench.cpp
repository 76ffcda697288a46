// Steps 7 and 8 of the timer tick (every member's page read, fallbacks, time
// file, error log and enforced times; then records and points) against a
// baseline that only does the I/O the run cannot avoid: read every page file
// and write every time file that the run writes, with the same sizes and the
// same replacement helper.
//
// Targets (issue 3): processing <= 1.5 x baseline at N = 10,000; 10 x the
// members <= 12 x the time (N = 1,000 vs 10,000).
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENMARK_BENCH=ON
//   cmake --build build-bench --target quenmark_bench
//   build-bench/bench/quenmark_bench --benchmark_filter=Processing
#include "app/model/atomic_file.h"
#include "bench/synthetic_site.h"
#include "harvest/page_parser.h"
#include "harvest/time_file.h"
#include "standings/settle_member_times.h"
#include "standings/standings.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <stdexcept>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Steps 7 and 8 on a fresh member table; the seconds they took.
double timeProcessing(const SyntheticSite& site) {
    site.resetRunState();
    MemberTable members = site.readMembers();
    const auto start = Clock::now();
    if (settleMemberTimes(site.folder(), members, site.settings()))
        throw std::runtime_error("the run stopped");
    RecordTable records = computeStandings(members, pointMax(site.settings().pointMaxIndex));
    const double seconds = secondsSince(start);
    benchmark::DoNotOptimize(records);
    benchmark::DoNotOptimize(members.data());
    return seconds;
}

// What the baseline does: the page files to read, and the time files the run
// writes with their content (taken from one run of the processing).
struct BaselineWork {
    std::vector<std::filesystem::path> pages;
    std::vector<std::pair<std::filesystem::path, std::string>> timeFiles;
};

const BaselineWork& baselineWork(const SyntheticSite& site) {
    static std::map<std::filesystem::path, BaselineWork> cache;
    auto [found, inserted] = cache.try_emplace(site.folder());
    if (!inserted)
        return found->second;
    BaselineWork& work = found->second;
    site.resetRunState();
    MemberTable members = site.readMembers();
    settleMemberTimes(site.folder(), members, site.settings());
    for (std::size_t i = 0; i < members.size(); ++i) {
        const std::string& base = site.baseNames()[i];
        const auto page = memberPagePath(site.folder(), base);
        if (std::filesystem::exists(page))
            work.pages.push_back(page);
        // The run writes a member's time file exactly when PageOk stays set.
        if (members[i].PageOk) {
            std::string content;
            readWholeFile(timeFilePath(site.folder(), base), content);
            work.timeFiles.emplace_back(timeFilePath(site.folder(), base), std::move(content));
        }
    }
    return work;
}

double timeBaseline(const SyntheticSite& site, const BaselineWork& work) {
    site.resetRunState();
    const auto start = Clock::now();
    std::string buffer;
    std::size_t bytes = 0;
    for (const auto& page : work.pages) {
        readWholeFile(page, buffer);
        bytes += buffer.size();
    }
    for (const auto& [path, content] : work.timeFiles)
        replaceFile(path, content, Durability::Unsynced);
    const double seconds = secondsSince(start);
    benchmark::DoNotOptimize(bytes);
    return seconds;
}

// Each iteration times the processing and the baseline once each, one after
// the other, on the same folder state; the reported time is the processing's.
void Processing(benchmark::State& state) {
    const SyntheticSite& site = SyntheticSite::cached(static_cast<int>(state.range(0)));
    const BaselineWork& work = baselineWork(site);
    double processing = 0, baseline = 0;
    for (auto _ : state) {
        const double p = timeProcessing(site);
        baseline += timeBaseline(site, work);
        processing += p;
        state.SetIterationTime(p);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["members"] = static_cast<double>(site.memberCount());
    state.counters["time_files_written"] = static_cast<double>(work.timeFiles.size());
    state.counters["baseline_ms"] = baseline / n * 1e3;
    state.counters["processing_ms"] = processing / n * 1e3;
    state.counters["ratio"] = processing / baseline;
    state.counters["us_per_member"] = processing / n / site.memberCount() * 1e6;
}
BENCHMARK(Processing)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

// The parser alone, on the pages held in memory.
void ParsePages(benchmark::State& state) {
    const SyntheticSite& site = SyntheticSite::cached(1000);
    std::vector<std::string> pages;
    std::size_t bytes = 0;
    for (const auto& path : baselineWork(site).pages) {
        pages.emplace_back();
        readWholeFile(path, pages.back());
        bytes += pages.back().size();
    }
    for (auto _ : state) {
        for (const std::string& page : pages) {
            MemberRecord member;
            member.PageOk = true;
            benchmark::DoNotOptimize(parsePageText(page, member, 1200, {}));
            benchmark::DoNotOptimize(member.Times.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["bytes_per_page"] = static_cast<double>(bytes) / pages.size();
}
BENCHMARK(ParsePages)->Unit(benchmark::kMillisecond);

} // namespace
