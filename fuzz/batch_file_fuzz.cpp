// The download batch on arbitrary rosters and arbitrary batch files. A roster
// gives download.bat, and the command interpreter reads back every member's
// page address as one argument of lynx and his page file as the redirection
// target. Any batch file, any line of it, reads without harm.
// Input: roster.txt, NUL, invalidchrs.dat, NUL, a batch file.
#include "core/harvest/download_batch.h"
#include "core/model/roster_file.h"
#include "core/model/text_file.h"
#include "fuzz/fuzz_check.h"
#include "platform/batch_interpreter.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

using namespace quenmark;

namespace {

// What lynx receives for an address: a double quote reaches it escaped.
std::string receivedAddress(const std::string& page) {
    std::string address;
    for (char c : page)
        address += c == '"' ? std::string("%22") : std::string(1, c);
    return address;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MemberFileRead roster = parseMemberFile(splitLines(nextPart(bytes)));
    const InvalidNameTable names(splitLines(nextPart(bytes)));

    const std::vector<std::string> written = splitLines(downloadBatchText(roster.members, names));
    std::size_t line = 1; // after "cd lynx"
    for (const MemberRecord& member : roster.members) {
        const std::string base = names.memberFileName(member.Name);
        if (!isUsableBaseName(base) || !isUsablePageAddress(member.Page))
            continue;
        require(line < written.size());
        const BatchLine read = parseBatchLine(written[line++]);
        require(read.kind == BatchLine::Kind::Run && read.program == "lynx");
        require(!read.append);
        if (!member.Page.empty()) {
            require(read.arguments.size() == 2 && read.arguments[0] == "-source");
            require(read.arguments[1] == receivedAddress(member.Page));
        }
        require(read.target == "../download/" + base + ".html");
    }
    require(written.size() == line + 2);

    std::filesystem::path folder = "start";
    for (const std::string& text : splitLines(bytes)) {
        const BatchLine read = parseBatchLine(text);
        require(read.kind == BatchLine::Kind::Run || read.arguments.empty());
        if (read.kind == BatchLine::Kind::ChangeFolder)
            folder = (folder / read.folder).lexically_normal();
    }
    return 0;
}
