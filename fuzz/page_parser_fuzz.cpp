// The page parser and the time-file zones on arbitrary bytes: never crash, and
// keep their promises (a complete page has all 42 cells; a taken time is within
// what two minute digits and two second digits can give, the penalty or the
// stored time; the page read in pieces reads as the page whole).
#include "core/harvest/page_parser.h"
#include "core/harvest/time_file.h"
#include "core/model/text_file.h"
#include "fuzz/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quenmark;

namespace {

constexpr int kPenalty = 1200;
constexpr std::int16_t kStored = 7000; // above any time a page can give
constexpr std::int16_t kUntouched = -32768;

MemberRecord untouched() {
    MemberRecord member;
    member.Times.fill(kUntouched);
    member.PageOk = true;
    return member;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    for (bool withTimeFile : {false, true}) {
        const StoredTimeLookup lookup = [withTimeFile](int l, int d, std::int16_t& cell) {
            require(l >= 0 && l < kLevelCount && d >= 0 && d < kDifficultyCount);
            if (withTimeFile)
                cell = kStored;
            return withTimeFile;
        };
        MemberRecord member = untouched();
        const PageRead read = parsePageText(bytes, member, kPenalty, lookup);
        // The same page in pieces of every size gives the same times.
        MemberRecord pieces = untouched();
        PageStream stream(pieces, kPenalty, lookup);
        bool complete = false;
        const std::size_t step = size == 0 ? 1 : 1 + data[0] % 13;
        for (std::size_t at = 0; at < size && !complete; at += step)
            complete = stream.feed(bytes.substr(at, step));
        require((complete ? PageRead::Complete : stream.finish()) == read);
        require(pieces.Times == member.Times && pieces.PageOk == member.PageOk);

        bool sawImplausible = false;
        for (std::int16_t t : member.Times) {
            if (t == kUntouched)
                require(read == PageRead::Incomplete);
            else if (t == kStored)
                sawImplausible = true;
            else
                require(t == kPenalty || (t >= 5 && t <= 99 * 60 + 99));
        }
        if (sawImplausible)
            require(!member.PageOk);
    }

    for (const std::string& line : splitLines(bytes))
        for (int d = 0; d < kDifficultyCount; ++d)
            (void)timeFileZone(line, d);
    return 0;
}
