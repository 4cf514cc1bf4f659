// The editing area: the current unit as the compositor made it, at the Zoom
// menu's zoom, on the pasteboard with scroll bars. Only what the compositor
// reports as changed (the unit's refresh area) is drawn again.
#pragma once
#include <QtWidgets/QScrollArea>

#include "base/notice.h"
#include "platform/geometry.h"

class a_unit_surface;

class a_unit_view : public QScrollArea {
    Q_OBJECT
public:
    explicit a_unit_view(QWidget* parent = nullptr);
    ~a_unit_view() override;
    // The zoom or the current unit changed: a new size, all drawn again.
    void Refresh();
    // Composes what changed in the current unit and shows it.
    void Bring_Up_To_Date();
    // The last area drawn again, in the surface's pixels (for tests).
    QRect Last_Repaint() const;
    // A point of the current unit (its cells) in the viewport's pixels, and
    // back; (0, 0) when no unit is shown. For rulers and coordinates.
    QPointF Unit_To_View(QPointF unit_px) const;
    QPointF View_To_Unit(QPointF view_px) const;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    a_unit_surface* surface_;
    a_listener_token dirty_token_ = 0, refresh_token_ = 0, selected_token_ = 0;
};
