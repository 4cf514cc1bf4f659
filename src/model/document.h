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

struct a_cached_gworld {
    uint32_t curr_seq = 0;  // up to date while equal to targ_seq
    uint32_t targ_seq = 0;
    Rect bounds;
    GWorld* world = nullptr;
    GWorld* mask = nullptr;
};

struct a_cached_canvas {
    a_canvas_spec cv;         // what the user chose
    a_canvas_spec cached_cv;  // what cached_world was made from
    Rect cached_bounds;
    GWorld* cached_world = nullptr;
};

struct a_doc_layer {
    GWorld* world = nullptr;
    GWorld* mask = nullptr;
    uint32_t seq = 0;
    bool inuse = false;
};

struct a_doc_unit {
    bool clonef = false;
    bool printf = true;
    uint32_t groupx = 0;
    Point symmetry_center;
    Point ruler_origin;
    Point edit_focus;
    a_cached_canvas canv;
    bool paintinuse = false;
    Rect paintbounds;
    a_oj_master oj;
    a_cached_gworld static_[NSTATIC_LAYERS];  // `static` is a keyword
    uint32_t excluded_id = 0;
    Rect render_dirty;
    Rect refresh_dirty;
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
    uint32_t upx = 0;
    a_doc_unit* up = nullptr;
};

extern a_doc_rec g_doc;

a_doc_unit* New_Unit_Rec();
void Null_Doc_Unit(a_doc_unit& u, uint32_t new_groupx, uint32_t ux);
void New_Doc_Unit(uint32_t gx, a_doc_unit& u, uint32_t ux);
void New_Doc_Buffers();
void Dispose_Unit_Content(a_doc_unit& u);
void Dispose_Doc_Buffers();
void Copy_Unit_Content2(a_doc_unit& dst, const a_doc_unit& src);
void Copy_Unit_Content(uint32_t dstx, uint32_t srcx);
void Map_Unit_Content(a_doc_unit& dst, const a_doc_unit& src);
uint32_t Find_Clone_Master(uint32_t startx);
// Creates (on paintbounds: a 32-bit world erased to the back colour and an
// 8-bit gray_ctable mask) or disposes one layer's world and mask.
void Sync_Existence(a_static_layer lx, a_doc_unit& up, bool targ_exist);
void Select_Doc_Unit(uint32_t newx);

// A unit with no design: white, uncoloured canvas and no block but the paint block.
bool Is_Unit_Empty(const a_doc_unit& u);

void Doc_New(const a_template& xtemplate);
void Doc_Dispose();
void Doc_Name_Changed(const std::string& title);
std::string Doc_Name();  // file name part of doc_path
a_direct_print_kind Calc_Direct_Print_Kind();

void Doc_Init();
void Doc_Stop();
