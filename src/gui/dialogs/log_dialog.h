#pragma once

#include <QDialog>
#include <filesystem>

class QPlainTextEdit;

namespace quenmark {

// "Updater - Log": errors.txt and ftp.log of the latest run, read-only.
class LogDialog : public QDialog {
    Q_OBJECT

public:
    explicit LogDialog(std::filesystem::path mainFolder, QWidget* parent = nullptr);

    // Reads both files afresh.
    void reload();

private:
    std::filesystem::path m_folder;
    QPlainTextEdit* m_txtErrors = nullptr;
    QPlainTextEdit* m_txtUpload = nullptr;
};

} // namespace quenmark
