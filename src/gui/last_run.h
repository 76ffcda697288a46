#pragma once

#include <QDate>
#include <QString>
#include <filesystem>

namespace quenmark {

// The summary of the latest run in a main folder ("Last run 14:05: ..."),
// kept in the user's settings with the day of the run, so the window shows it
// again after a restart.
void keepLastRun(const std::filesystem::path& mainFolder, const QString& summary, QDate day);

// The kept summary, with its day put in when that is not today
// ("Last run 2026-05-03 14:05: ..."); empty when the folder has none.
QString lastRunText(const std::filesystem::path& mainFolder, QDate today);

} // namespace quenmark
