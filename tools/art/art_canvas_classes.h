// Canvas classes as the program uses them: the natural picture size of each
// class, the fallback chain of full pictures, and the part of a picture a
// unit of a class shows. The generators use these to make thumbnails that
// show what the unit will show, and to refuse a palette entry no full
// picture can serve.
#pragma once
#include <QtCore/QRect>

constexpr int ART_CANVAS_CLASSES = 6;  // classes 0 to 5 have pictures

struct a_canvas_size {
    int width, height;
};

a_canvas_size Art_Canvas_Natural_Size(int klass);
// The next class of the fallback chain, or -1 where it ends.
int Canvas_Fallback(int klass);
// The first class along the chain from `klass` that `has_full` marks, or -1.
int Canvas_Resolve(int klass, const bool has_full[ART_CANVAS_CLASSES]);
// The source rectangle a unit of `unit_class` and natural size takes from a
// picture of `picture_class`, clipped to the picture.
QRect Canvas_Source_Rect(int unit_class, int picture_class, int pic_w, int pic_h);
