// The one open document: its expanded template and one unit record per label
// piece, each with its blocks, canvas and image layers.
// Process-wide state: the document g_doc (reads and writes), the current port while a layer is
// made; sends the document notices and calls the document services.
#pragma once
#include <cstdint>
#include <string>

#include "model/blocks.h"
#include "platform/geometry.h"
#include "model/canvas_spec.h"
#include "templates/expand.h"
#include "templates/template.h"

struct GWorld;

enum a_static_layer : uint8_t {
    TOTAL_LAYER = 0,
    MINUS_LAYER = 1,
    PAINT1_LAYER = 2,
    OUTERMASK_LAYER = 3,
    NSTATIC_LAYERS = 4
};

// A unit's layer: owns its world and mask (null until made).
struct a_cached_gworld {
    uint32_t curr_seq = 0;  // up to date while equal to targ_seq
    uint32_t targ_seq = 0;
    Rect bounds;
    GWorld* world = nullptr;
    GWorld* mask = nullptr;
};

// The unit's canvas choice and the rendered canvas it owns.
struct a_cached_canvas {
    a_canvas_spec cv;         // what the user chose
    a_canvas_spec cached_cv;  // what cached_world was made from
    Rect cached_bounds;
    GWorld* cached_world = nullptr;
};

// An image layer; owns its world and mask.
struct a_doc_layer {
    GWorld* world = nullptr;
    GWorld* mask = nullptr;
    uint32_t seq = 0;
    bool inuse = false;
};

// One label piece of the document. Owns its blocks (and through them their
// photo and text records), its layer worlds and its rendered canvas. A clone
// owns no design of its own: it shows its master's, the nearest earlier unit
// that is not a clone, and its blocks and layers stay empty.
struct a_doc_unit {
    bool clonef = false;  // shows the master's design
    bool printf = true;   // printed with the sheet
    uint32_t groupx = 0;  // 1-based place in its run of units of one kind; 1 is never a clone
    Point symmetry_center;
    Point ruler_origin;
    Point edit_focus;
    a_cached_canvas canv;
    bool paintinuse = false;  // the paint layer exists
    Rect paintbounds;         // the unit's pixel area; every layer world has these bounds
    a_oj_master oj;
    a_cached_gworld static_[NSTATIC_LAYERS];  // `static` is a keyword
    uint32_t excluded_id = 0;  // block left out of the composite: the text block being edited
    Rect render_dirty;         // to compose again
    Rect edit_dirty;           // the left-out block changed: drawn again over the picture without it
    Rect refresh_dirty;        // to show again
};

struct a_filespec {
    int16_t vol = 0;
    int32_t dir = 0;
    std::string name;  // full path
};

struct a_print_info {
    Point doc_origin;
    a_ratio scaling_factorx;
    a_ratio scaling_factory;
};

// The open document. Owns its unit records; `up` borrows doc_units[upx].
struct a_doc_rec {
    a_filespec doc_path;
    a_template doc_template;
    bool doc_open = false;
    bool doc_new = false;
    bool doc_changed = false;
    a_print_info doc_print;
    a_doc_unit* doc_units[MAXNUNITS + 1] = {};  // 1 .. nunits
    int16_t doc_mediax = 0;
    int16_t doc_ncopies = 1;
    uint32_t upx = 0;          // current unit, 1-based; 0 when none
    a_doc_unit* up = nullptr;  // doc_units[upx]
};

extern a_doc_rec g_doc;

// A unit record holding only its paint block; the caller owns it.
a_doc_unit* New_Unit_Rec();
// Null_ sets what every unit has (group place, bounds, centres, clone);
// New_ what a master adds (not a clone, default canvas, layers to draw).
void Null_Doc_Unit(a_doc_unit& u, uint32_t new_groupx, uint32_t ux);
void New_Doc_Unit(uint32_t gx, a_doc_unit& u, uint32_t ux);
// One unit record per unit of doc_template (masters at the start of each run
// of one kind, the rest clones) / frees them all.
void New_Doc_Buffers();
// Frees the blocks, layers and canvas the unit owns; the record stays.
void Dispose_Unit_Content(a_doc_unit& u);
void Dispose_Doc_Buffers();
// dst gets a deep copy of src's design (blocks with their records, paint
// layer, canvas choice); nothing is shared afterwards. Copy_ first frees what
// dst held; Map_ expects a fresh dst. Neither copies the caches.
void Copy_Unit_Content2(a_doc_unit& dst, const a_doc_unit& src);
void Copy_Unit_Content(uint32_t dstx, uint32_t srcx);
void Map_Unit_Content(a_doc_unit& dst, const a_doc_unit& src);
// The nearest unit at or before startx that is not a clone.
uint32_t Find_Clone_Master(uint32_t startx);
// Creates (on paintbounds: a 32-bit world erased to the back colour and an
// 8-bit gray_ctable mask) or disposes one layer's world and mask.
void Sync_Existence(a_static_layer lx, a_doc_unit& up, bool targ_exist);
// Makes unit newx (1-based) current.
void Select_Doc_Unit(uint32_t newx);

// A unit with no design: white, uncoloured canvas and no block but the paint block.
bool Is_Unit_Empty(const a_doc_unit& u);

// Opens an untitled document on a copy of the expanded template, closing the open one.
void Doc_New(const a_template& xtemplate);
void Doc_Dispose();
void Doc_Name_Changed(const std::string& title);
std::string Doc_Name();  // file name part of doc_path
a_direct_print_kind Calc_Direct_Print_Kind();

void Doc_Init();
void Doc_Stop();
