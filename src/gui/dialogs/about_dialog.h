#pragma once

#include <QDialog>

namespace quenmark {

// "Updater - About": the logo, a credit line and a short distribution note.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace quenmark
