#include "drop_open.h"

#include <QtCore/QFileInfo>
#include <QtCore/QMimeData>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QDropEvent>
#include <QtWidgets/QWidget>

QString Dropped_Project(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl& url = data->urls().first();
    if (!url.isLocalFile()) return {};
    QString path = url.toLocalFile();
    if (!path.endsWith(".cd4", Qt::CaseInsensitive) || !QFileInfo(path).isFile()) return {};
    return path;
}

a_drop_opener::a_drop_opener(QWidget* window, std::function<void(const QString&)> open)
    : QObject(window), open_(std::move(open)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool a_drop_opener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* e = static_cast<QDropEvent*>(event);
        if (Dropped_Project(e->mimeData()).isEmpty()) return QObject::eventFilter(watched, event);
        e->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        QString path = Dropped_Project(e->mimeData());
        if (path.isEmpty()) return QObject::eventFilter(watched, event);
        e->acceptProposedAction();
        // After the drag has ended: the save-changes question is modal, and
        // the file manager waits for the drop to finish.
        QTimer::singleShot(0, this, [this, path] { open_(path); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QStringList Dropped_Pictures(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        QString path = url.toLocalFile();
        if (path.endsWith(".cd4", Qt::CaseInsensitive) || !QFileInfo(path).isFile()) return {};
        paths << path;
    }
    return paths;
}

a_picture_dropper::a_picture_dropper(QWidget* area, std::function<void(const QStringList&)> add)
    : QObject(area), add_(std::move(add)) {
    area->setAcceptDrops(true);
    area->installEventFilter(this);
}

bool a_picture_dropper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove && event->type() != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* e = static_cast<QDropEvent*>(event);
    QStringList paths = Dropped_Pictures(e->mimeData());
    if (paths.isEmpty()) return QObject::eventFilter(watched, event);  // a project goes on to the window
    e->acceptProposedAction();
    // After the drag has ended, as for projects: the file manager waits for the drop.
    if (event->type() == QEvent::Drop) QTimer::singleShot(0, this, [this, paths] { add_(paths); });
    return true;
}
