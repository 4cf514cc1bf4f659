// The unit list beside the editing area: one picture per unit of the open
// document as the compositor made it; a click makes that unit current.
#pragma once
#include <QtWidgets/QListWidget>

class a_unit_list : public QListWidget {
    Q_OBJECT
public:
    explicit a_unit_list(QWidget* parent = nullptr);
    void Refresh();           // the document's units, anew
    void Refresh_Pictures();  // the same units, their designs changed

private:
    static QString Unit_Caption(uint32_t ux);
};
