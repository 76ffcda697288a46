#include "core/harvest/download_batch.h"

#include "core/main_folder.h"
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

bool isUsablePageAddress(std::string_view page) {
    const std::size_t first = page.find_first_not_of(" \t");
    return first == std::string_view::npos || page[first] != '-';
}

namespace {

std::string percentDoubled(std::string_view text) {
    std::string doubled;
    for (char c : text) {
        doubled += c;
        if (c == '%')
            doubled += '%';
    }
    return doubled;
}

} // namespace

std::optional<std::string> batchPageName(const MemberRecord& member,
                                         const InvalidNameTable& names) {
    std::string base = names.memberFileName(member.Name);
    if (!isUsableBaseName(base) || !isUsablePageAddress(member.Page))
        return std::nullopt;
    return base;
}

std::string downloadBatchText(const MemberTable& members, const InvalidNameTable& names) {
    TextBuilder text;
    text.line(std::string("cd ") + kBrowserFolder);
    const std::string browser = std::string(kBrowserProgram) + " -source ";
    const std::string downloads = std::string("..\\") + kDownloadFolder + "\\";
    for (const MemberRecord& member : members) {
        if (const auto base = batchPageName(member, names))
            text.line(browser + batchAddress(member.Page) + " >\"" + downloads +
                      percentDoubled(*base) + ".html\"");
    }
    // The discard port on this machine: the fetch fails at once, and only the
    // file that the redirection creates matters.
    text.line(browser + "http://127.0.0.1:9/" + kSentinelPage + " >" + downloads + kSentinelPage);
    text.line("cd ..");
    return text.text();
}

void writeDownloadBatch(const std::filesystem::path& mainFolder, const MemberTable& members) {
    replaceFile(mainFolder / kBatchFile,
                downloadBatchText(members, InvalidNameTable::read(mainFolder)),
                Durability::Unsynced, FileAccess::Default, kBatchFile);
}

} // namespace quenmark
