// The editing area: the current unit as the compositor made it, at the Zoom
// menu's zoom, on the pasteboard with scroll bars. Only what the compositor
// reports as changed (the unit's refresh area) is drawn again.
#pragma once
#include <QtWidgets/QScrollArea>

#include <memory>
#include <optional>

#include "base/notice.h"
#include "platform/geometry.h"

class QTimer;
class a_unit_surface;
struct a_ph_rec;

class a_unit_view : public QScrollArea {
    Q_OBJECT
public:
    explicit a_unit_view(QWidget* parent = nullptr);
    ~a_unit_view() override;
    // The zoom or the current unit changed: a new size, all drawn again.
    void Refresh();
    // The zoom changed: as Refresh, with the unit's point that was under the
    // pointer (for a wheel zoom) or at the middle of the area kept there.
    void Refresh_Zoom();
    // The percentage the unit is shown at (fit included).
    int Zoom_Percent() const;
    // Composes what changed in the current unit and shows it.
    void Bring_Up_To_Date();
    // The paint selection changed by a menu command: its outline shown anew.
    void Show_Selection();
    // The last area drawn again, in the surface's pixels (for tests).
    QRect Last_Repaint() const;
    // A point of the current unit, in its cells, to the viewport's pixels and
    // back (with the zoom and the scroll position). For rulers and coordinates.
    QPointF Unit_To_View(QPointF unit_px) const;
    QPointF View_To_Unit(QPointF view_px) const;
    // The unit on the scrolled surface (the pasteboard lies around it), in
    // the surface's pixels; empty without a unit.
    QRect Unit_Rect() const;

signals:
    // A double click on text block objid of unit ux: it is to be edited.
    void textBlockActivated(int ux, int objid);
    // The mouse over the unit, in the viewport's pixels, and leaving it.
    void pointerMoved(QPointF view_px);
    void pointerLeft();
    // The zoom, the scroll position or the unit changed what is shown where.
    void viewMoved();
    // A paint tool was chosen by its key in the editing area.
    void paintToolChosen();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    // Composed and CJK input: the pre-edit shown at the caret, the committed
    // text typed into the edited block.
    void inputMethodEvent(QInputMethodEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // Ctrl+wheel zooms around the pointer, Shift+wheel scrolls sideways.
    void wheelEvent(QWheelEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class a_unit_surface;
    void Mouse_Press(QMouseEvent* e);
    void Mouse_Move(QMouseEvent* e);
    void Mouse_Release(QMouseEvent* e);
    void Mouse_Double(QMouseEvent* e);
    // The Paint phase: the mouse feeds the paint tools; a press on the
    // symmetry centre's cross drags the centre instead.
    void Paint_Press(QMouseEvent* e);
    void Paint_Move(QMouseEvent* e);
    void Paint_Release(QMouseEvent* e);
    bool Paint_Key(QKeyEvent* e);
    // The selection's outline drawn again where it was and where it is now.
    void Update_Marquee(const QRect& was);
    void Context_Menu(QContextMenuEvent* e);
    void Begin_Drag(QMouseEvent* e);
    void Turn_Slot(QMouseEvent* e);
    void Double_Click(int omx, QPointF at);
    // Text being edited: a press in it places the caret or selects (clicks
    // counts 1 to 3); a press outside ends the editing.
    bool Text_Press(QMouseEvent* e, int clicks);
    // The caret's blink step; the caret's area drawn again when it changed.
    void Caret_Step();

    // A press on the unit and what it became once the mouse moved.
    struct a_press {
        bool down = false;
        bool dragging = false;
        QPoint at;
        Point cell;
        int action = 0;  // a_click_action once the drag began
        int omx = 0, part = 0;
        bool turning = false;  // on a collage slot's turn handle
        double turn_from = 0;  // the pointer's angle round the slot, degrees
        int turned = 0;        // tenths of a degree given to the slot so far
        QPointF pivot;         // the slot's centre on the surface as the turn began
    };
    bool tracking_text_ = false;  // a press in the edited text, until release
    qint64 last_double_ = -1;     // when the last double click was, for a triple
    std::shared_ptr<a_ph_rec> scale_start_;  // the photo record as the resize began
    a_press press_;
    std::optional<QPointF> zoom_at_;  // the wheel's point, until the zoom is shown
    int wheel_rest_ = 0;              // eighths of a degree not yet a zoom step
    double pinch_rest_ = 0;           // a touchpad pinch's scale not yet a zoom step
public:
    // A pinch on a touchpad at `at` (viewport pixels): a quarter more or
    // less is one step of the Zoom menu, around that point.
    void Pinch(double scale_delta, QPointF at);
private:
    a_unit_surface* surface_;
    QTimer* paint_tick_;          // the spray keeps spraying while the mouse rests
    QTimer* ants_;                // the selection's outline marches
    bool painting_ = false;       // a paint interaction open, press to release
    bool moving_centre_ = false;  // the symmetry centre follows the mouse
    a_listener_token dirty_token_ = 0, refresh_token_ = 0, selected_token_ = 0, finish_token_ = 0;
};
