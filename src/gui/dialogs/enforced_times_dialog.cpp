#include "gui/dialogs/enforced_times_dialog.h"

#include "core/files/enforced_times_file.h"
#include "core/files/members_file.h"
#include "core/main_folder.h"
#include "core/model/levels.h"
#include "core/model/text_file.h"
#include "gui/latin1_text.h"
#include "gui/message_box.h"
#include "gui/one_line_field.h"
#include "gui/widgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quenmark {

namespace {

// The list entry's text at a stored position; a position no list has (only a
// hand-edited file holds one) shows as its number.
template <typename Names> std::string nameAt(const Names& names, int position) {
    if (position >= 0 && position < static_cast<int>(names.size()))
        return std::string(names[static_cast<std::size_t>(position)]);
    return std::to_string(position);
}

QString inEffectText(std::size_t count) {
    if (count == 1)
        return "1 enforced time in effect:";
    return QString::number(count) + " enforced times in effect:";
}

} // namespace

EnforcedTimesDialog::EnforcedTimesDialog(std::filesystem::path mainFolder, std::string memberName,
                                         QWidget* parent)
    : QDialog(parent), m_folder(std::move(mainFolder)), m_memberName(std::move(memberName)) {
    buildControls();
    const std::filesystem::path file = m_folder / kEnforcedTimesFile;
    if (!fileExists(file)) {
        try {
            appendToFile(file, ""); // creates it empty, never empties one that appeared meanwhile
        } catch (const FileError& error) {
            MessageBoxes::showError(this, error);
        }
    }
    // A long name wraps, between any two characters, rather than being cut off.
    QString shown = fromBytes(m_memberName);
    m_lblName->setToolTip(shown);
    for (qsizetype i = shown.size() - 1; i > 0; --i)
        shown.insert(i, QChar(0x200B));
    m_lblName->setText(shown);
    refreshList();
}

void EnforcedTimesDialog::buildControls() {
    setWindowTitle("Updater - Enforced Times");

    auto* editing = named(new QLabel("Editing:"), "lblRefresh");
    m_lblName = named(new QLabel, "lblName");
    QFont bold = m_lblName->font();
    bold.setBold(true);
    m_lblName->setFont(bold);
    m_lblName->setTextFormat(Qt::PlainText);
    m_lblName->setWordWrap(true);

    auto* help = named(new QLabel("This form allows you to edit a player's time in the case of a "
                                  "typo or claiming a single fake time. Write either \"N/A\" or a "
                                  "time (format of \"m:ss\") in the text box. To remove an "
                                  "enforced time, make the text box blank. You must click Save in "
                                  "order to store the time."),
                       "lblFindTime");
    help->setWordWrap(true);

    m_cboLevel = named(new QComboBox, "cboLevel");
    for (std::string_view level : kLevelNames)
        m_cboLevel->addItem(
            QString::fromLatin1(level.data(), static_cast<qsizetype>(level.size())));
    m_cboDifficulty = named(new QComboBox, "cboDifficulty");
    for (std::string_view difficulty : kDifficultyNames)
        m_cboDifficulty->addItem(
            QString::fromLatin1(difficulty.data(), static_cast<qsizetype>(difficulty.size())));
    m_cboLevel->setCurrentIndex(-1);
    m_cboDifficulty->setCurrentIndex(-1);
    m_txtTime = oneLineField("txtTime");
    m_txtTime->setMaximumWidth(90);

    m_cmdSave = named(new QPushButton("&Save"), "cmdSave");
    m_cmdSave->setDefault(true);
    m_cmdDone = named(new QPushButton("D&one"), "cmdDone");
    m_cmdDone->setAutoDefault(false);

    m_lblInEffect = named(new QLabel("0 enforced times in effect:"), "lblInEffect");
    m_lstCustomTimes = named(new QListWidget, "lstCustomTimes");
    m_lstCustomTimes->setMinimumWidth(330);
    // The count is the list's caption; its text changes, so it has no Alt letter.
    m_lblInEffect->setBuddy(m_lstCustomTimes);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(editing);
    nameRow->addWidget(m_lblName, 1);

    auto* fields = new QFormLayout;
    fields->addRow("&Level:", m_cboLevel);
    fields->addRow("&Difficulty:", m_cboDifficulty);
    fields->addRow("&Time:", m_txtTime);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdSave);
    buttons->addWidget(m_cmdDone);
    buttons->addStretch();

    auto* editColumn = new QVBoxLayout;
    editColumn->addLayout(nameRow);
    editColumn->addWidget(help);
    editColumn->addSpacing(6);
    editColumn->addLayout(fields);
    editColumn->addLayout(buttons);
    editColumn->addStretch();

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(m_lblInEffect);
    listColumn->addWidget(m_lstCustomTimes, 1);

    auto* window = new QHBoxLayout(this);
    auto* editPanel = new QWidget;
    editPanel->setLayout(editColumn);
    editPanel->setFixedWidth(280);
    window->addWidget(editPanel);
    window->addSpacing(12);
    window->addLayout(listColumn, 1);

    chainTabOrder({m_cboLevel, m_cboDifficulty, m_txtTime, m_cmdSave, m_cmdDone, m_lstCustomTimes});

    connect(m_cboLevel, &QComboBox::currentIndexChanged, this, &EnforcedTimesDialog::cellChosen);
    connect(m_cboDifficulty, &QComboBox::currentIndexChanged, this,
            &EnforcedTimesDialog::cellChosen);
    connect(m_cmdSave, &QPushButton::clicked, this, &EnforcedTimesDialog::saveClicked);
    connect(m_cmdDone, &QPushButton::clicked, this, &QWidget::close);
}

void EnforcedTimesDialog::cellChosen() {
    if (m_cboLevel->currentIndex() < 0 || m_cboDifficulty->currentIndex() < 0)
        return;
    m_txtTime->clear();
    m_timeUnread = false;
    try {
        m_txtTime->setText(fromBytes(findEnforcedTime(
            m_folder, m_memberName, m_cboLevel->currentIndex(), m_cboDifficulty->currentIndex())));
    } catch (const FileError& error) {
        m_timeUnread = true;
        MessageBoxes::showError(this, error);
    }
}

void EnforcedTimesDialog::saveClicked() {
    if (m_cboLevel->currentIndex() < 0 || m_cboDifficulty->currentIndex() < 0) {
        MessageBoxes::show(this, "Error", "Invalid level/difficulty values.", MessageIcon::None);
        return;
    }
    const std::string time = toBytes(m_txtTime->text());
    // An empty box for a time that could not be read would remove a time the
    // operator never saw: the time is read again instead, and nothing is written.
    if (m_timeUnread && time.empty())
        return cellChosen();
    if (!time.empty() && !isTimeText(time)) {
        const auto answer = MessageBoxes::show(
            this, "Enforced Times",
            "\"" + m_txtTime->text() + "\" is not a time like 1:23 or N/A. Save it anyway?",
            MessageIcon::Question, MessageBoxes::Buttons::YesNoDefaultNo);
        if (answer != MessageBoxes::Answer::Yes)
            return; // the text stays for the operator to mend
    }
    try {
        setEnforcedTime(m_folder, m_memberName, m_cboLevel->currentIndex(),
                        m_cboDifficulty->currentIndex(), time);
    } catch (const FileError& error) {
        MessageBoxes::showError(this, error);
        return; // nothing was written; the list stays as it was read
    }
    refreshList();
}

void EnforcedTimesDialog::refreshList() {
    std::vector<EnforcedTime> entries;
    try {
        entries = readEnforcedTimes(m_folder);
    } catch (const FileError& error) {
        // No count at all rather than a false one.
        m_lstCustomTimes->clear();
        m_lblInEffect->setText(fromBytes(error.what()));
        return;
    }
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const EnforcedTime& entry : entries)
        lines.push_back(entry.memberName + " - " + nameAt(kLevelNames, entry.level) + " - " +
                        nameAt(kDifficultyNames, entry.difficulty) + " - " + entry.time);
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return lessIgnoringCase(a, b);
    });
    m_lstCustomTimes->clear();
    for (const std::string& line : lines)
        m_lstCustomTimes->addItem(fromBytes(line));
    m_lblInEffect->setText(inEffectText(entries.size()));
}

} // namespace quenmark
