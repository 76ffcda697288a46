#include "core/harvest/download_batch.h"

#include "core/model/atomic_file.h"
#include "core/model/text_file.h"

namespace quenmark {

std::string batchAddress(const std::string& page) {
    if (page.find_first_of(" \t&|<>^()\"%") == std::string::npos)
        return page;
    std::string quoted = "\"";
    for (char c : page) {
        if (c == '%')
            quoted += "%%";
        else if (c == '"')
            quoted += "%%22";
        else
            quoted += c;
    }
    return quoted + "\"";
}

std::string downloadBatchText(const MemberTable& members, const InvalidNameTable& names) {
    TextBuilder text;
    text.line("cd lynx");
    for (const MemberRecord& member : members) {
        const std::string base = names.memberFileName(member.Name);
        if (!isUsableBaseName(base))
            continue;
        text.line("lynx -source " + batchAddress(member.Page) + " >\"..\\download\\" + base +
                  ".html\"");
    }
    text.line(std::string("lynx -source ") + kSentinelAddress + " >..\\download\\EndOfRoster.html");
    text.line("cd ..");
    return text.text();
}

void writeDownloadBatch(const std::filesystem::path& mainFolder, const MemberTable& members) {
    replaceFile(mainFolder / kBatchFile,
                downloadBatchText(members, InvalidNameTable::read(mainFolder)),
                Durability::Unsynced);
}

} // namespace quenmark
