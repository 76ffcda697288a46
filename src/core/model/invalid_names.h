#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quenmark {

// The numbers of invalidchrs.dat that stand in for member names in file names.
// The file is read once; each name then resolves exactly as a scan of the whole
// file from the start would: every line is compared with the name, a matching
// line's next line is its number and is not compared itself, and the last match
// wins. A name line at the very end of the file has no number and is ignored.
class InvalidNameTable {
public:
    InvalidNameTable() = default;
    explicit InvalidNameTable(const std::vector<std::string>& lines);

    // A missing file gives an empty table; one that cannot be read throws FileError.
    static InvalidNameTable read(const std::filesystem::path& mainFolder);

    // The base name of the member's page file and time file: his number written
    // as plain digits, or his name when the file has no number for him.
    std::string memberFileName(const std::string& name) const;

private:
    std::unordered_map<std::string, std::string> m_numbers;
};

// A base name that cannot name a file in the download folder: it would leave
// the folder or break the batch line (/ \ " or a control character), it is
// longer than a file name may be, or it is the downloads' sentinel's name in any
// letter case.
bool isUsableBaseName(std::string_view baseName);

} // namespace quenmark
