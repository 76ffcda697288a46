#include "core/model/roster_file.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"

namespace quenmark {

MemberFileRead parseMemberFile(std::vector<std::string> lines) {
    MemberFileRead result;
    for (std::size_t i = 0; i < lines.size(); i += 6) {
        if (lines.size() - i < 5)
            return {MemberFileStatus::Damaged, {}};
        MemberRecord member;
        member.Name = std::move(lines[i]);
        member.Initials = std::move(lines[i + 1]);
        member.Color = std::move(lines[i + 2]);
        member.Page = std::move(lines[i + 3]);
        member.Email = std::move(lines[i + 4]);
        result.members.push_back(std::move(member));
    }
    return result;
}

MemberFileRead readMemberFile(const std::filesystem::path& file) {
    FileContent content = readFileContent(file);
    if (content.status == FileReadStatus::Missing)
        return {MemberFileStatus::Missing, {}};
    if (content.status == FileReadStatus::Unreadable)
        return {MemberFileStatus::Unreadable, {}, content.systemError};
    return parseMemberFile(splitLines(content.bytes));
}

MemberFileRead readRoster(const std::filesystem::path& mainFolder) {
    return readMemberFile(mainFolder / kRosterFile);
}

MemberRecord rosterFields(const MemberRecord& member) {
    MemberRecord fields;
    fields.Name = member.Name;
    fields.Initials = member.Initials;
    fields.Color = member.Color;
    fields.Page = member.Page;
    fields.Email = member.Email;
    return fields;
}

std::string memberFileText(const MemberTable& members) {
    TextBuilder text;
    for (const MemberRecord& m : members)
        text.line(m.Name).line(m.Initials).line(m.Color).line(m.Page).line(m.Email).line("");
    return text.text();
}

std::string memberFileMissingText(const std::string& fileName) {
    return "\"" + fileName +
           "\" could not be found. Make sure it is named correctly and in the main folder.";
}

std::string memberFileDamagedText(const std::string& fileName) {
    return "\"" + fileName + "\" is damaged: its last member is incomplete.";
}

std::string memberFileProblemText(MemberFileStatus status, const std::string& fileName,
                                  int systemError) {
    switch (status) {
    case MemberFileStatus::Missing:
        return memberFileMissingText(fileName);
    case MemberFileStatus::Unreadable:
        return cannotRead(fileName, systemError).what();
    default:
        return memberFileDamagedText(fileName);
    }
}

} // namespace quenmark
