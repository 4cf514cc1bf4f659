#include "art_canvas_classes.h"

#include <algorithm>
#include <cmath>

a_canvas_size Art_Canvas_Natural_Size(int klass) {
    switch (klass) {
        case 2: return {810, 640};
        case 3: return {1280, 640};
        case 4: return {584, 870};
        case 5: return {1280, 870};
        default: return {640, 640};
    }
}

int Canvas_Fallback(int klass) {
    switch (klass) {
        case 0: return 1;
        case 1: return 2;
        case 2: return 5;
        case 5: return 3;
        case 4: return 3;
        default: return -1;
    }
}

int Canvas_Resolve(int klass, const bool has_full[ART_CANVAS_CLASSES]) {
    // The chain has no cycles; the bound only guards against a future edit.
    for (int k = klass, steps = 0; k >= 0 && steps <= ART_CANVAS_CLASSES; ++steps) {
        if (has_full[k]) return k;
        k = Canvas_Fallback(k);
    }
    return -1;
}

QRect Canvas_Source_Rect(int unit_class, int picture_class, int pic_w, int pic_h) {
    a_canvas_size unit = Art_Canvas_Natural_Size(unit_class);
    int w, h;
    if (picture_class == 1 || picture_class == unit_class) {
        // Cover fit: the largest rectangle of the unit's proportions.
        double ratio = std::max(double(unit.width) / pic_w, double(unit.height) / pic_h);
        w = int(std::lround(unit.width / ratio));
        h = int(std::lround(unit.height / ratio));
    } else {
        w = unit.width;
        h = unit.height;
    }
    int left = (unit_class == 4 && !(w == pic_w && h == pic_h)) ? pic_w - 12 - w
                                                                 : (pic_w - w) / 2;
    QRect r(left, (pic_h - h) / 2, w, h);
    return r.intersected(QRect(0, 0, pic_w, pic_h));
}
