// The start screen: a new project, an open one, and the recent projects
// with their preview pictures.
#pragma once
#include <QtWidgets/QWidget>

class QListWidget;
class QListWidgetItem;
class QPushButton;

class a_start_screen : public QWidget {
    Q_OBJECT
public:
    explicit a_start_screen(QWidget* parent = nullptr);
    // Lists the recent projects of the preferences that still exist.
    void Refresh_Recent();

signals:
    void New_Project();
    void Open_Project();
    void Open_Recent(const QString& path);

private:
    void Recent_Chosen(QListWidgetItem* item);
    QListWidget* recent_;
};
