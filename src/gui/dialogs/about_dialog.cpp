#include "gui/dialogs/about_dialog.h"

#include "gui/program_icon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenmark {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName("frmAbout");
    setWindowTitle("Updater - About");
    setModal(false);

    auto* logo = new QLabel(this);
    logo->setObjectName("imgLogo");
    logo->setPixmap(programLogo(96));
    auto* title = new QLabel("<b>Quenmark Updater</b>", this);
    auto* credit = new QLabel("Written by the Quenmark site's developers for the operators "
                              "of the ranking.",
                              this);
    credit->setObjectName("lblCredit");
    credit->setWordWrap(true);
    auto* version = new QLabel(QString("Version %1").arg(QUENMARK_VERSION), this);
    version->setObjectName("lblVersion");
    auto* note = new QLabel("Free to use and to pass on, together with its source, to anyone "
                            "who keeps a Quenmark ranking site.",
                            this);
    note->setObjectName("lblNote");
    note->setWordWrap(true);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addWidget(credit);
    texts->addWidget(note);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    // Wrapped lines take the height their width needs: the whole text shows.
    for (QLabel* text : {credit, note})
        text->setMinimumWidth(280);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace quenmark
