// The editing area while the unit compositor is not part of the program: the
// open document's sheet with its units' outlines, and the unit list beside
// it with one picture per unit.
#pragma once
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>

class a_sheet_view : public QLabel {
    Q_OBJECT
public:
    explicit a_sheet_view(QWidget* parent = nullptr);
    void Refresh();  // after the document changed

protected:
    void resizeEvent(QResizeEvent* e) override;
};

class a_unit_list : public QListWidget {
    Q_OBJECT
public:
    explicit a_unit_list(QWidget* parent = nullptr);
    void Refresh();  // one picture per unit of the open document
};
