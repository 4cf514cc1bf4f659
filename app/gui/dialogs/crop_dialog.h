// The crop dialog: a photo's whole picture with its crop framed and a
// handle on each side. Dragging a handle moves that side, kept on the
// picture and at least a pixel from the other side; OK keeps the crop.
#pragma once
#include <QtGui/QImage>
#include <QtWidgets/QDialog>

#include "model/photo_rec.h"

class a_crop_area;

class a_crop_dialog : public QDialog {
    Q_OBJECT
  public:
    // `picture` is the block's source (bounds 0, 0, height, width); `crop`
    // its crop in source pixels, empty for the whole picture.
    a_crop_dialog(const QImage& picture, const Rect& crop, QWidget* parent = nullptr);
    Rect Crop() const;

  private:
    a_crop_area* area_;
};

// The unprocessed picture of photo block `ph` and its bounds; a null image
// when its source is missing.
QImage Block_Source_Picture(const a_ph_rec& ph, Rect& bounds);
