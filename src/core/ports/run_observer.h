#pragma once

#include "core/model/operator_message.h"
#include "core/ports/upload_starter.h"

#include <string>

namespace quenmark {

// What an update run shows: the main window and the headless runner each
// implement it.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void captionChanged(const std::string& caption) = 0;
    // 1 to 4: the progress line now under way; 0: no line marked.
    virtual void stageChanged(int stage) = 0;
    // Update, Members, Settings and About; Exit is always enabled.
    virtual void buttonsEnabledChanged(bool enabled) = 0;
    virtual void timerChanged(bool on) = 0;
    // Returns when the operator has closed the message.
    virtual void showMessage(const OperatorMessage& message) = 0;
    // The pages the download batch has written so far, out of total.
    virtual void downloadCountChanged(int written, int total) = 0;
    // The files the FTP client has sent so far, out of total.
    virtual void uploadCountChanged(int sent, int total) = 0;
    // The FTP client has ended: its status and transcript (ftp.log).
    virtual void uploadEnded(const UploadEnd& end) = 0;
    // How the latest run went (RunSummary::text), after its closing message and
    // again when the upload ends.
    virtual void summaryChanged(const std::string& summary) = 0;
};

} // namespace quenmark
