// The description of a photo, symbol or collage-slot block, and the records
// that carry it through the clipboard and the crop dialog. Its pixels live in
// the effects cache, keyed by this description.
// Process-wide state: none.
#pragma once
#include <cstdint>

#include "platform/geometry.h"
#include "model/effect_spec.h"

// The range of a block's scaling, per mille.
constexpr int PHOTO_MIN_SCALING = 50;
constexpr int PHOTO_MAX_SCALING = 6000;
constexpr int SYMBOL_MAX_SCALING = 3000;

// Owned by its block; holds no pointers, so a copy shares nothing.
struct a_ph_rec {
    a_spec spec;            // what to show and how
    char codec[4] = {};     // file-format code of the imported file; empty otherwise
    Point dst_center;       // centre of the block on the unit, in unit cells
    Rect dst_box;           // bounding box on the unit (derived)
    bool operator==(const a_ph_rec&) const = default;
};

// A block on the clipboard: its kind, then the whole record.
struct a_pasted_ph_rec {
    uint8_t ojkind = 0;  // a_oj_kind
    a_ph_rec ph;
};

// Heads a run of photo records written together.
struct a_ph_header {
    char signature[4] = {};
    uint16_t version = 0;
    uint16_t nlist = 0;  // records that follow
};

// The crop dialog's state without its window: the picture's place in the
// dialog, the crop in source and in dialog pixels, and the four side handles.
struct a_crop_rec {
    Rect off;        // the dialog's picture area
    Rect bb_ok, bb_cancel, bb_pix;
    Rect crop;       // in source pixels
    a_ratio reduction;  // source pixels to dialog pixels: num / den
    Rect bb_l, bb_t, bb_r, bb_b;
    Rect crop_s;     // the crop in dialog pixels
};

// No block (an enumeration has ended, nothing under the mouse).
constexpr int OMX_NONE = -20001;
// Starts an enumeration.
constexpr int OMX_START = -20000;
// A coordinate of Photo_Set_Center that keeps the old value.
constexpr int KEEP_COORD = -10000;
