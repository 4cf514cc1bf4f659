// Rulers along the editing area and the corner between them: millimetres
// from the current unit's ruler origin, with a mark where the mouse is. A
// drag from the corner onto the unit moves the origin there; a double click
// on the corner puts it back at the unit's centre.
#pragma once
#include <QtWidgets/QWidget>

class a_unit_view;

class a_ruler : public QWidget {
    Q_OBJECT
public:
    a_ruler(Qt::Orientation orientation, a_unit_view* view, QWidget* parent = nullptr);
    // The mouse over the editing area, in the viewport's pixels; NaN: none.
    void Set_Mouse(double at);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    Qt::Orientation orientation_;
    a_unit_view* view_;
    double mouse_;
};

class a_ruler_corner : public QWidget {
    Q_OBJECT
public:
    explicit a_ruler_corner(a_unit_view* view, QWidget* parent = nullptr);
    QSize sizeHint() const override;

signals:
    void originMoved();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    a_unit_view* view_;
};

// The editing area with a ruler above and one to the left, and the corner.
// It tells where the mouse is, from the ruler origin, for the status line.
class a_ruled_area : public QWidget {
    Q_OBJECT
public:
    explicit a_ruled_area(a_unit_view* view, QWidget* parent = nullptr);
    void Show_Rulers(bool on);

signals:
    // "x 12.5 mm  y -3.0 mm", or empty when the mouse is not over the unit.
    void coordinatesChanged(const QString& text);

private:
    void Pointer_At(QPointF view_px);
    a_unit_view* view_;
    a_ruler* across_;
    a_ruler* down_;
    a_ruler_corner* corner_;
};
