// Opening a project dropped on the window from the file manager.
#pragma once
#include <QtCore/QObject>

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
