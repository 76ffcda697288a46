// The processing of the timer tick (every member's page read, fallbacks, time
// file, error log and enforced times; then records and points) against a
// baseline that only does the I/O the run cannot avoid: read every page file
// and write every time file that the run writes, with the same sizes and the
// same replacement helper.
//
// Targets: processing <= 1.5 x baseline at N = 10,000; 10 x the
// members <= 12 x the time (N = 1,000 vs 10,000).
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENMARK_BENCH=ON
//   cmake --build build-bench --target quenmark_bench
//   build-bench/bench/quenmark_bench --benchmark_filter=Processing
//
// The synthetic folders go under $QUENMARK_BENCH_DIR (default: the temporary
// folder). On a disk the timings of a shared machine are noisy, so the
// counters also give the median of the per-iteration ratios; on a tmpfs
// (QUENMARK_BENCH_DIR=/dev/shm) the I/O is cheapest, which makes the ratio the
// strictest measure of what the processing adds to it.
#include "bench/synthetic_site.h"
#include "core/harvest/page_parser.h"
#include "core/harvest/time_file.h"
#include "core/model/atomic_file.h"
#include "core/standings/settle_member_times.h"
#include "core/standings/standings.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <stdexcept>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace quenmark;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The folder as build left it, with nothing left to write back to the disk,
// so that neither timing pays for the writes of what ran before it.
void settle(const SyntheticSite& site) {
    site.resetRunState();
    ::sync();
}

// Settling every member's times, then the points and records of every cell, on
// a fresh member table; the seconds they took.
double timeProcessing(const SyntheticSite& site) {
    settle(site);
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
    settle(site);
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

// Each iteration times the processing and the baseline once each, on the same
// folder state, in alternating order; the reported time is the processing's.
// The file system of a shared machine is noisy, so the counters give the
// median of the iterations' ratios beside the ratio of the sums.
void Processing(benchmark::State& state) {
    const SyntheticSite& site = SyntheticSite::cached(static_cast<int>(state.range(0)));
    const BaselineWork& work = baselineWork(site);
    double processing = 0, baseline = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        double p, b;
        if (ratios.size() % 2 == 0) {
            p = timeProcessing(site);
            b = timeBaseline(site, work);
        } else {
            b = timeBaseline(site, work);
            p = timeProcessing(site);
        }
        processing += p;
        baseline += b;
        ratios.push_back(p / b);
        state.SetIterationTime(p);
    }
    std::sort(ratios.begin(), ratios.end());
    const double n = static_cast<double>(state.iterations());
    state.counters["members"] = static_cast<double>(site.memberCount());
    state.counters["time_files_written"] = static_cast<double>(work.timeFiles.size());
    state.counters["baseline_ms"] = baseline / n * 1e3;
    state.counters["processing_ms"] = processing / n * 1e3;
    state.counters["ratio"] = processing / baseline;
    state.counters["median_ratio"] = ratios[ratios.size() / 2];
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

namespace {

// Records and points alone, on the times a run of the synthetic site gives.
void Standings(benchmark::State& state) {
    const SyntheticSite& site = SyntheticSite::cached(static_cast<int>(state.range(0)));
    site.resetRunState();
    MemberTable members = site.readMembers();
    settleMemberTimes(site.folder(), members, site.settings());
    for (auto _ : state) {
        RecordTable records = computeStandings(members, 200);
        benchmark::DoNotOptimize(records);
    }
    state.counters["us_per_member"] = benchmark::Counter(
        static_cast<double>(members.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(Standings)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
