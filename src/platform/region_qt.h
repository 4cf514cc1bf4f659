// The platform side of regions: a region handle is a QRegion. Only the
// platform layer includes this.
// Process-wide state: none.
#pragma once
#include <QRegion>

#include "platform/geometry.h"

struct a_region {
    QRegion r;
};

QRect Rect_ToQ(const Rect& r);
Rect Rect_FromQ(const QRect& r);
QRegion QRegion_Oval(const Rect& r);
QRegion QRegion_RoundRect(const Rect& r, int ovalw, int ovalh);
QRegion QRegion_Poly(const Point* pts, int npts);
QRegion QRegion_Inset(const QRegion& rgn, int dh, int dv);
