// The print preview: the sheet as it will be printed, each unit at its
// printed place (bleed left out, the alignment nudge in), drawn from the
// compositor's pictures. A click on a unit makes it current.
#pragma once
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <vector>

#include "base/notice.h"

class a_preview_view : public QWidget {
    Q_OBJECT
public:
    explicit a_preview_view(QWidget* parent = nullptr);
    ~a_preview_view() override;
    // Unit ux's place on the widget (for tests); empty when not shown.
    QRect Unit_Place(uint32_t ux) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void Layout();

    QRect paper_;
    std::vector<QRect> places_;    // [ux - 1]
    std::vector<QImage> pictures_;  // [ux - 1], drawn for the place in drawn_for_
    std::vector<QSize> drawn_for_;
    bool pictures_stale_ = true;
    a_listener_token nudged_token_ = 0, dirty_token_ = 0;
};
