#include "gui/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace quenmark {

namespace {

constexpr const char* kPicture = ":/quenmark/org.quenmark.Updater.svg";

} // namespace

QPixmap programLogo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer picture{QString(kPicture)};
    QPainter painter(&pixmap);
    picture.render(&painter);
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(programLogo(size));
    return icon;
}

} // namespace quenmark
