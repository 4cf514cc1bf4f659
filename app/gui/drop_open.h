// Opening a project dropped on the window from the file manager, and
// picture files dropped on the editing area.
#pragma once
#include <QtCore/QObject>
#include <QtCore/QStringList>

#include <functional>

class QMimeData;

// The local project file a drop carries: exactly one file named *.cd4 (any
// case); empty for anything else.
QString Dropped_Project(const QMimeData* data);

// Installed on a window, accepts drops of one project and hands its path on.
class a_drop_opener : public QObject {
    Q_OBJECT
public:
    a_drop_opener(QWidget* window, std::function<void(const QString&)> open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> open_;
};

// The local files a drop carries when none of them is a project and each
// is a file; empty otherwise (the reader decides later whether it is a picture).
QStringList Dropped_Pictures(const QMimeData* data);

// Installed on the editing area, accepts drops of picture files and hands
// their paths on.
class a_picture_dropper : public QObject {
    Q_OBJECT
public:
    a_picture_dropper(QWidget* area, std::function<void(const QStringList&)> add);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QStringList&)> add_;
};
