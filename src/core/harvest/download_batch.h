#pragma once

#include "core/model/invalid_names.h"
#include "core/model/member_record.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// A page address as the command interpreter must see it: addresses holding a
// blank, tab or one of & | < > ^ ( ) " % are quoted with % doubled and "
// written as %%22, so the interpreter neither splits nor expands them.
std::string batchAddress(const std::string& page);

// Whether the address may reach the browser: one that begins with "-" (after
// blanks and tabs, which the interpreter drops between words) would be taken
// for an option by lynx, and roster data must never give the browser an option.
bool isUsablePageAddress(std::string_view page);

// The base name of the page the batch fetches for the member, or none: a base
// name that cannot name a file, or an address that is not usable, gets no line.
std::optional<std::string> batchPageName(const MemberRecord& member, const InvalidNameTable& names);

// The text of download.bat. Members whose base name cannot name a file, or
// whose address is not usable, get no line; their page counts as missing. The
// output file's name has % doubled, so the interpreter, which makes %% of it
// %, creates exactly "download/" + base name + ".html".
std::string downloadBatchText(const MemberTable& members, const InvalidNameTable& names);

// Writes download.bat in the main folder. Throws FileError.
void writeDownloadBatch(const std::filesystem::path& mainFolder, const MemberTable& members);

} // namespace quenmark
