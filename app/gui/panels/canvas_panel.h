// The Background phase's panel: the art database's canvases for the current
// unit's shape as a grid of thumbnails, solid colours, the quarter turns,
// flips and inversion, and the canvas sliders. Every change is one action
// of the program and one step of the undo history.
#pragma once
#include <QtWidgets/QWidget>

#include <vector>

class QLabel;
class QListWidget;
class QToolButton;
class a_slider_widget;

class a_canvas_panel : public QWidget {
    Q_OBJECT
public:
    explicit a_canvas_panel(QWidget* parent = nullptr);
    // The current unit's canvas shown again: palette, toggles and sliders.
    void Refresh();

private:
    void Fill_Palette(int canv_class);
    QWidget* Build_Solids();
    QWidget* Build_Turns();

    QLabel* clone_note_;
    QWidget* controls_;
    QListWidget* palette_;
    QToolButton* flipx_ = nullptr;
    QToolButton* flipy_ = nullptr;
    QToolButton* invert_ = nullptr;
    std::vector<a_slider_widget*> sliders_;
    int palette_class_ = -1;
};
