// The start screen: a new project, an open one, and the recent projects.
#pragma once
#include <QtWidgets/QWidget>

class QListWidget;
class QPushButton;

class a_start_screen : public QWidget {
    Q_OBJECT
public:
    explicit a_start_screen(QWidget* parent = nullptr);
    // Shows the open and recent parts enabled or with the reason they are not.
    void Set_Open_Available(bool available, const QString& why);

signals:
    void New_Project();
    void Open_Project();

private:
    QPushButton* open_;
    QListWidget* recent_;
};
