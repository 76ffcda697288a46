#include "cli/command_line.h"
#include "gui/display_check.h"
#include "gui/main_window.h"
#include "platform/batch_runner.h"
#include "platform/date_stamp.h"
#include "platform/folder_run_lock.h"
#include "platform/upload_runner.h"

#include <QApplication>
#include <filesystem>
#include <iostream>

using namespace quenmark;

int main(int argc, char* argv[]) {
    // Any argument means the command line, which never needs a display.
    if (argc > 1)
        return runCommandLine(argc, argv);

    if (!windowCanOpen()) {
        std::cerr << "quenmark-updater: no display; use `quenmark-updater update` to publish "
                     "without a window."
                  << std::endl;
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Quenmark");
    QApplication::setApplicationName("Quenmark Updater");
    // Names the installed desktop entry, so the desktop shows its icon for the window.
    QApplication::setDesktopFileName("org.quenmark.Updater");
    BatchRunner batch;
    UploadRunner uploads(UploadRunner::Waiting::Detached);
    FolderRunLock lock;
    SystemClock clock;
    MainWindow window(std::filesystem::current_path(), batch, uploads, lock, clock);
    window.show();
    return QApplication::exec();
}
