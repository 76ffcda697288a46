#include "gui/window_geometry.h"

#include <QEvent>
#include <QSettings>
#include <QWidget>

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

} // namespace

void rememberGeometry(QWidget* window) {
    const QByteArray saved = QSettings().value(settingsKey(window)).toByteArray();
    if (!saved.isEmpty())
        window->restoreGeometry(saved);
    new GeometryKeeper(window);
}

} // namespace quenmark
