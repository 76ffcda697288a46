#include "gui/dialogs/log_dialog.h"

#include "core/main_folder.h"
#include "core/model/text_file.h"
#include "gui/latin1_text.h"
#include "gui/widgets.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenmark {

namespace {

QPlainTextEdit* logView(const char* name) {
    auto* view = named(new QPlainTextEdit, name);
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return view;
}

QString fileText(const std::filesystem::path& folder, const char* file) {
    const std::optional<std::string> bytes = readFileBytes(folder / file);
    if (!bytes)
        return QString("\"%1\" could not be read: no run has written it yet.").arg(file);
    if (bytes->empty())
        return QString("\"%1\" is empty.").arg(file);
    QString text = fromBytes(*bytes);
    text.remove(QChar('\r'));
    return text;
}

} // namespace

LogDialog::LogDialog(std::filesystem::path mainFolder, QWidget* parent)
    : QDialog(parent, Qt::Window), m_folder(std::move(mainFolder)) {
    setObjectName("frmLog");
    setWindowTitle("Updater - Log");

    m_txtErrors = logView("txtErrors");
    m_txtUpload = logView("txtUpload");
    auto* errorsCaption =
        new QLabel(QString("&Pages that could not be read (%1):").arg(kErrorLogFile));
    errorsCaption->setBuddy(m_txtErrors);
    auto* uploadCaption = new QLabel(QString("&Upload (%1):").arg(kUploadLogFile));
    uploadCaption->setBuddy(m_txtUpload);
    auto* close = named(new QPushButton("&Close"), "cmdClose");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(errorsCaption);
    layout->addWidget(m_txtErrors, 1);
    layout->addWidget(uploadCaption);
    layout->addWidget(m_txtUpload, 2);
    layout->addLayout(buttons);
    resize(560, 440);
    reload();
}

void LogDialog::reload() {
    m_txtErrors->setPlainText(fileText(m_folder, kErrorLogFile));
    m_txtUpload->setPlainText(fileText(m_folder, kUploadLogFile));
}

} // namespace quenmark
