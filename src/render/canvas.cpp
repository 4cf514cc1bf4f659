#include "render/canvas.h"

#include "render/compositor.h"
#include "templates/mapping.h"

#include <algorithm>
#include <cmath>

#include "artdb/database.h"
#include "model/notices.h"
#include "model/document.h"
#include "pixels/blit.h"
#include "render/effects_cache.h"
#include "pixels/pixcolor.h"
#include "pixels/syspix.h"
#include "base/messages.h"
#include "base/string_ids.h"
#include "templates/template.h"

namespace {

a_listener_token g_default_token = 0;  // our services to the document
a_listener_token g_no_canvas_token = 0;

struct a_class_list {
    int16_t cls;
    std::initializer_list<int> kinds;
};

// Unit kinds not listed have no canvas pictures (class 6).
const a_class_list kClasses[] = {
    {0, {UNIT_CIRCLE, UNIT_CD, UNIT_CD_CORE, UNIT_MINICD_RING, UNIT_MINICD_HOCKEY}},
    {1, {UNIT_OVAL,         UNIT_RECT,         UNIT_VISITING,    UNIT_CD_WALLET,
         UNIT_MINICD_RECT,  UNIT_MINICD_LID1,  UNIT_JEWEL_LID1,  UNIT_AUDIO_FACE,
         UNIT_AUDIO_JCARD,  UNIT_AUDIO_BOX,    UNIT_DAT_FACE,    UNIT_DAT_SPINE,
         UNIT_VHS_FACE,     UNIT_VHS_SPINE,    UNIT_VHS_WRAP,    UNIT_VHS_THIRD,
         UNIT_VHS_SLEEVE,   UNIT_UMATIC_FACE,  UNIT_MINIDV_FACE, UNIT_MINIDV_INSERT,
         UNIT_DVCAM_FACE,   UNIT_DVCAM_INSERT, UNIT_DVCPRO_FACE, UNIT_DVCPRO_INSERT,
         UNIT_STATUS,       UNIT_HI8_FACE,     UNIT_MD_FACEL,    UNIT_MD_FACE,
         UNIT_8MM_FACE,     UNIT_FLOPPY,       UNIT_LAMINATED,   UNIT_VIDEOTITLE,
         UNIT_XDCAM_INSERT, UNIT_XDCAM_FACE,   UNIT_VCD_WRAP,    UNIT_D5_SPINE,
         UNIT_D5_INSERT}},
    {2, {UNIT_JEWEL_SLIMLINE, UNIT_JEWEL_BASE}},
    {3, {UNIT_DVDBOX_WRAP, UNIT_BETACAM_FACE, UNIT_BLURAY_WRAP}},
    {4, {UNIT_DVDBOX_INSERT}},
    {5, {UNIT_VISITING2, UNIT_MINICD_LID2, UNIT_JEWEL_LID2}},
};

const Point kNatural[NCANV_CLASSES] = {{640, 640}, {640, 640},  {640, 810}, {640, 1280},
                                       {870, 584}, {870, 1280}, {0, 0}};

// Where a class's picture is looked for when it has none of its own.
int Fallback_Class(int cls) {
    switch (cls) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 5;
        case 5:
            return 3;
        case 4:
            return 3;
        default:
            return -1;
    }
}

// The part of the picture a unit of `kind` shows: cover fit for pictures of
// the unit's own class (or the generic class 1, or 1270 wide), else the
// natural size of the unit's class.
Rect Source_Rect(const Rect& pic, const Rect& dst, const a_keyset& full, const a_keyset& key,
                 int kind) {
    int pw = Rect_Width(pic), ph = Rect_Height(pic), dw = Rect_Width(dst), dh = Rect_Height(dst);
    int cls = UNIT_TO_CANV_PREFIX(kind);
    int w = 0, h = 0;
    if (full.b != 1 && full.b != cls && pw != 1270) {
        if (cls == CANV_CLASS_NONE) InternalError();
        w = kNatural[cls].h, h = kNatural[cls].v;
        if (kind == UNIT_MINICD_HOCKEY || kind == UNIT_MINICD_RECT)
            h = int(std::lround(double(dh) * 640 / dw));
    }
    // A natural size the borrowed picture cannot hold falls back to cover fit.
    if (w == 0 || w > pw || h > ph) {
        double ratio = std::max(double(dw) / pw, double(dh) / ph);
        w = std::min(pw, int(std::lround(dw / ratio)));
        h = std::min(ph, int(std::lround(dh / ratio)));
    }
    if (w == pw && h == ph) return pic;
    if (key.b == 4) {
        int right = pic.right - 12, top = pic.top + (ph - h) / 2;
        int left = std::max<int>(pic.left, right - w);
        return Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
    }
    return Rect_Centred(pic, w, h);
}

// The palette entries of a class: (2, class, *, *).
void Class_Subset(int canv_class, a_subset& s) {
    Subset_Init(a_keyset{CANVAS_CATEGORY, int16_t(canv_class), KEY_WILDCARD, KEY_WILDCARD}, s);
}

void Doc_Default_Canvas(int kind, a_canvas_spec& cv) {
    Default_Canvas(kind, cv);
}

}  // namespace

int16_t UNIT_TO_CANV_PREFIX(int kind) {
    for (const a_class_list& c : kClasses)
        for (int k : c.kinds)
            if (k == kind) return c.cls;
    return CANV_CLASS_NONE;
}

Point Canvas_Natural_Size(int canv_class) {
    return canv_class >= 0 && canv_class < NCANV_CLASSES ? kNatural[canv_class] : Point{};
}

void Init_CV(a_canvas_spec& cv) {
    cv = a_canvas_spec{};
    cv.canvas_darkness = CANV_DARKNESS_DEFAULT;
    cv.canvas_fuzz_in = CANV_FUZZ_IN_DEFAULT;
    cv.canvas_fuzz_out = CANV_FUZZ_OUT_DEFAULT;
    // Saturation and hue too: left at 0 a fresh canvas would not count as uncoloured.
    cv.canvas_color_sat = CANV_SAT_DEFAULT;
    cv.canvas_color_hue = CANV_HUE_DEFAULT;
    cv.canvas_color_dist = CANV_DIST_DEFAULT;
}

void Default_Canvas(int kind, a_canvas_spec& cv) {
    Init_CV(cv);
    cv.canvas_key = a_keyset{CANVAS_CATEGORY, UNIT_TO_CANV_PREFIX(kind), 1, 1};
}

bool Is_CanvKey_White(const a_keyset& key) {
    return key.c == 1 && key.d == 1;
}

bool Is_Canvas_Uncolored(const a_canvas_spec& cv) {
    return cv.canvas_darkness == CANV_DARKNESS_DEFAULT && cv.canvas_color_sat == CANV_SAT_DEFAULT &&
           cv.canvas_color_hue == CANV_HUE_DEFAULT && cv.canvas_color_dist == CANV_DIST_DEFAULT;
}

bool Is_No_Canvas(const a_canvas_spec& cv) {
    return Is_CanvKey_White(cv.canvas_key) && Is_Canvas_Uncolored(cv);
}

int Canvas_Count(int canv_class) {
    a_subset s;
    Class_Subset(canv_class, s);
    return Subset_Count(s);
}

int Key_To_CanvX(const a_keyset& key, int canv_class) {
    a_subset s;
    Class_Subset(canv_class, s);
    int n = Subset_Count(s);
    for (int i = 1; i <= n; ++i) {
        a_keyset k;
        Subset_GetKey(k, i, s);
        if (k == key) return i;
    }
    return 1;
}

void CanvX_To_Key(a_keyset& key, int index, int canv_class) {
    a_subset s;
    Class_Subset(canv_class, s);
    int n = Subset_Count(s);
    if (n == 0) {  // no palette at all: the white canvas
        key = a_keyset{CANVAS_CATEGORY, int16_t(canv_class), 1, 1};
        return;
    }
    Subset_GetKey(key, std::clamp(index, 1, n), s);
}

bool Find_Full_Canvas(a_keyset& full, const a_keyset& key) {
    full = key;
    full.a = CANVAS_FULL_CATEGORY;
    if (Is_CanvKey_White(key)) return true;
    for (;;) {
        if (OP_Exists(full)) return true;
        int next = Fallback_Class(full.b);
        if (next < 0) return false;
        full.b = int16_t(next);
    }
}

uint32_t Solid_Canvas_Color(const a_canvas_spec& cv) {
    a_pixel24 rgb{255, 255, 255};
    bool tinted = cv.canvas_color_sat != CANV_SAT_DEFAULT ||
                  cv.canvas_color_hue != CANV_HUE_DEFAULT ||
                  cv.canvas_color_dist != CANV_DIST_DEFAULT;
    if (tinted) {
        int hue = ((cv.canvas_color_hue % 360) + 360) % 360;
        int s = std::clamp(cv.canvas_color_dist * 255 / 72, 0, 255);
        HSV_To_RGB(a_hsv_color{int16_t(hue), int16_t(s), 255}, rgb);
    }
    if (cv.canvas_darkness != CANV_DARKNESS_DEFAULT) {
        uint8_t map[256];
        Calc_Darkness_Map(std::clamp<int>(cv.canvas_darkness, 0, 100), 255, map);
        rgb = a_pixel24{map[rgb.r], map[rgb.g], map[rgb.b]};
    }
    return uint32_t(rgb.r) << 16 | uint32_t(rgb.g) << 8 | rgb.b;
}

void Render_Solid_Canvas(GWorld* dst, const Rect& r, const a_canvas_spec& cv) {
    if (dst) PixMap32_Fill(dst->pix, r, Solid_Canvas_Color(cv));
}

void Render_Picture_Canvas(GWorld* dst, const Rect& r, const a_canvas_spec& cv, int kind) {
    a_keyset full;
    // A picture gone from the art database (another database open, a
    // project from elsewhere) shows as a white canvas rather than stopping.
    if (!Find_Full_Canvas(full, cv.canvas_key)) {
        if (dst) PixMap32_Fill(dst->pix, Rect_Sect(r, dst->pix.bounds), 0x00FFFFFF);
        return;
    }
    a_spec spec;
    Null_Spec(spec);
    spec.source.kind = SOURCE_DATABASE;
    spec.source.key = full;
    spec.angle = int16_t(-900 * (cv.canvas_nrot & 3));
    spec.darkness = cv.canvas_darkness;
    spec.color_sat = cv.canvas_color_sat;
    spec.color_hue = cv.canvas_color_hue;
    spec.color_dist = cv.canvas_color_dist;
    spec.flipx = cv.canvas_flipx;
    spec.flipy = cv.canvas_flipy;
    spec.invert = cv.canvas_invert;
    a_cache_result c;
    Cache_Get(FOR_SCREEN, spec, c);
    if (!c.body.fore || !dst) return;
    Rect src = Source_Rect(c.body.bounds, r, full, cv.canvas_key, kind);
    Pix_To_Pix(c.body.fore->pix, dst->pix, src, r, ditherCopy, nullptr);
}

void Render_Canvas(const Rect& bounds, GWorld* dst, a_cached_canvas& canv, int kind, bool use_cache,
                   bool absolute, const Rect* clip) {
    if (!dst) return;
    // Absolute: dst itself; else the unit's cells through the top mapping.
    Rect r = absolute ? dst->pix.bounds : Cells_To_Pixels(Top_Mapping(), bounds);
    if (Rect_IsEmpty(r)) return;
    const a_canvas_spec& cv = canv.cv;
    if (Is_CanvKey_White(cv.canvas_key)) {
        Rect fill = clip ? Rect_Sect(r, *clip) : r;  // one colour: only the clip matters
        if (!Rect_IsEmpty(fill)) Render_Solid_Canvas(dst, fill, cv);
        Dispose_GWorld(canv.cached_world);
        return;
    }
    if (!use_cache) {
        Render_Picture_Canvas(dst, r, cv, kind);
        return;
    }
    // Cached at the size it is shown: a new zoom makes it again.
    const Rect size = Rect_Offset(r, -r.left, -r.top);
    if (!canv.cached_world || canv.cached_bounds != size || !(canv.cached_cv == cv)) {
        Dispose_GWorld(canv.cached_world);
        New_GWorldF("Render_Canvas", size, 32, nullptr, canv.cached_world);
        Render_Picture_Canvas(canv.cached_world, size, cv, kind);
        canv.cached_bounds = size;
        canv.cached_cv = cv;
    }
    Pix_To_Pix(canv.cached_world->pix, dst->pix, size, r, srcCopy, clip);
}

bool Canvas_Verify(a_doc_unit& unit, int kind) {
    a_keyset full;
    if (Find_Full_Canvas(full, unit.canv.cv.canvas_key)) return true;
    CanvX_To_Key(unit.canv.cv.canvas_key, 1, UNIT_TO_CANV_PREFIX(kind));
    OK_Alert(ALERT_CANVAS_MISSING, false);
    return false;
}

void Canvas_DrawElement(GWorld* dst, const Rect& cell, int index, int canv_class) {
    if (!dst) return;
    PixMap32_Fill(dst->pix, cell, 0x00FFFFFF);
    a_keyset key;
    CanvX_To_Key(key, index, canv_class);
    a_gworld_ptr thumb(Cache_Load_Art(key));
    if (!thumb) return;
    const Rect& tb = thumb->pix.bounds;
    Rect at = Rect_Centred(cell, Rect_Width(tb), Rect_Height(tb));
    Pix_To_Pix(thumb->pix, dst->pix, tb, at, srcCopy, &cell);
}

void Canvas_Init() {
    g_default_token = g_doc_services.default_canvas.Install(Doc_Default_Canvas);
    g_no_canvas_token = g_doc_services.is_no_canvas.Install(Is_No_Canvas);
}

void Canvas_Stop() {
    g_doc_services.default_canvas.Remove(g_default_token);
    g_doc_services.is_no_canvas.Remove(g_no_canvas_token);
}
