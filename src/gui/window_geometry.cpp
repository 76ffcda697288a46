#include "gui/window_geometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace quenmark {

namespace {

QString settingsKey(const QWidget* window) {
    return QStringLiteral("geometry/") + QString::fromLatin1(window->metaObject()->className());
}

// Saves the window's geometry each time it hides (closing included).
class GeometryKeeper : public QObject {
public:
    explicit GeometryKeeper(QWidget* window) : QObject(window), m_window(window) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Hide && m_window->isWindow())
            QSettings().setValue(settingsKey(m_window), m_window->saveGeometry());
        return false;
    }

private:
    QWidget* m_window;
};

// A place kept at another screen size or scale may not fit this screen: the
// window shrinks to the screen's free area (its title bar included) and moves
// onto it, keeping as much of its place as it can. It is never kept lower than
// its text needs at its width (a long name wraps onto more lines than the
// window had when its place was kept).
void fitOnScreen(QWidget* window) {
    QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QRect placed = window->geometry();
    placed.setWidth(std::max(1, std::min(placed.width(), free.width())));
    if (QLayout* layout = window->layout(); layout && layout->hasHeightForWidth()) {
        layout->activate();
        placed.setHeight(std::max(placed.height(), layout->totalHeightForWidth(placed.width())));
    }
    placed.setHeight(std::max(1, std::min(placed.height(), free.height() - titleBar)));
    placed.moveLeft(std::clamp(placed.left(), free.left(), free.right() + 1 - placed.width()));
    placed.moveTop(
        std::clamp(placed.top(), free.top() + titleBar,
                   std::max(free.top() + titleBar, free.bottom() + 1 - placed.height())));
    window->setGeometry(placed);
}

} // namespace

void rememberGeometry(QWidget* window) {
    const QByteArray saved = QSettings().value(settingsKey(window)).toByteArray();
    if (!saved.isEmpty()) {
        window->restoreGeometry(saved);
        fitOnScreen(window);
    }
    new GeometryKeeper(window);
}

} // namespace quenmark
