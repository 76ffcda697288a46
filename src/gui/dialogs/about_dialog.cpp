#include "gui/dialogs/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenmark {

namespace {

// The logo: a stopwatch with the letter Q on its face, drawn for this program.
QPixmap drawLogo() {
    QPixmap pixmap(96, 96);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 60), 4));
    painter.setBrush(QColor(250, 214, 70));
    painter.drawRect(40, 4, 16, 10);
    painter.drawEllipse(QPointF(48, 54), 38, 38);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(48, 54), 29, 29);
    QFont font("Sans", 30, QFont::Bold);
    painter.setFont(font);
    painter.setPen(QColor(170, 30, 30));
    painter.drawText(QRectF(19, 25, 58, 58), Qt::AlignCenter, "Q");
    return pixmap;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName("frmAbout");
    setWindowTitle("Updater - About");
    setModal(false);

    auto* logo = new QLabel(this);
    logo->setObjectName("imgLogo");
    logo->setPixmap(drawLogo());
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
    resize(380, 170);
}

} // namespace quenmark
