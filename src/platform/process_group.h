#pragma once

#include <string>

namespace quenmark {

// Every process of a download batch, and the FTP client, carries a marker in
// its environment ("QUENMARK_BATCH=" + a random value), inherited by whatever
// it starts: it is ended by its marker, never by a process or group id alone,
// which may name somebody else's processes by the time a later run reads it.
inline constexpr const char* kBatchMarkerName = "QUENMARK_BATCH";
inline constexpr const char* kUploadMarkerName = "QUENMARK_UPLOAD";

// Ends every live process of session `sessionId` (the batch's interpreter and
// the FTP client each start one) that carries `marker` (one of the names above,
// "=" and a value of 16 characters at least) in its environment, each with its
// process group, with SIGKILL; it never waits for them to go. Nothing outside
// that session is ever touched, nor our own session.
void endMarkedProcesses(int sessionId, const std::string& marker);

} // namespace quenmark
