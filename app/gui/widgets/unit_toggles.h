// Under the unit list: whether the current unit is a clone of the one before
// it, and whether it prints with the sheet.
#pragma once
#include <QtWidgets/QWidget>

class QCheckBox;

class a_unit_toggles : public QWidget {
    Q_OBJECT
public:
    explicit a_unit_toggles(QWidget* parent = nullptr);
    // Shows the current unit's state.
    void Refresh();

signals:
    void Unit_Changed();

private:
    void Clone_Clicked();
    void Print_Clicked();
    QCheckBox* clone_;
    QCheckBox* print_;
};
