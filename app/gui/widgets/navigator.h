// The navigator: the whole current unit small, with a frame around the part
// the editing area shows. Dragging the frame (or clicking beside it) scrolls
// the editing area there.
#pragma once
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include "base/notice.h"

class a_unit_view;

class a_navigator : public QWidget {
    Q_OBJECT
public:
    explicit a_navigator(a_unit_view* view, QWidget* parent = nullptr);
    ~a_navigator() override;
    QSize sizeHint() const override;
    // Where the unit's picture lies and the frame of the shown part, in this
    // widget's pixels; empty without a unit.
    QRectF Picture_Rect() const;
    QRectF Frame() const;
    // The small picture waits for a redraw (for tests).
    bool Stale() const { return stale_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    // Navigator pixels per surface pixel of the editing area.
    double Scale() const;
    // The scroll bars at `from` moved by a way in navigator pixels.
    void Scroll_To(QPoint from, QPointF navigator_px);
    void Mark_Stale();

    a_unit_view* view_;
    QImage picture_;
    bool stale_ = true;
    bool dragging_ = false;
    QPointF press_;
    QPoint start_;  // the scroll bars' values at the press
    a_listener_token tokens_[3] = {};
    a_listener_token rest_token_ = 0;
};
