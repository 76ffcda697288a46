#include "core/harvest/error_log.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"

namespace quenmark {

ErrorLog::ErrorLog(std::filesystem::path mainFolder)
    : m_file(std::move(mainFolder) / kErrorLogFile) {}

void ErrorLog::add(std::string_view line) {
    m_pending.append(line);
    m_pending.append("\r\n");
}

void ErrorLog::flush() {
    if (m_pending.empty())
        return;
    appendToFile(m_file, m_pending, kErrorLogFile);
    m_pending.clear();
}

} // namespace quenmark
