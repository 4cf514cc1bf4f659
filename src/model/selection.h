// Which blocks of the current unit are selected, and how changes to blocks
// are posted: enumeration and counts, the selection operations with their
// nesting brackets, the box of a block, and the dirty areas every change
// posts into the unit's render_dirty.
// Process-wide state: the document g_doc (reads and writes the current unit), the palette bar whose
// kinds are selectable, the selection brackets and the saved blocks; sends the document notices.
#pragma once
#include <cstdint>

#include "model/blocks.h"
#include "platform/geometry.h"

// The palette bar decides which kinds the selection operations touch.
enum a_block_bar : uint8_t { OTHER_BAR, PHOTO_BAR, SYMBOL_BAR, TEXT_BAR, COLLAGE_BAR, PAINT_BAR };
extern a_block_bar g_block_bar;
a_oj_kind_set Selectable_Kinds();
a_oj_kind_set Kind_Bit(uint8_t kind);

enum a_move_class : uint8_t { MOVES_NULL, MOVES_Y, MOVES_XY, MOVES_POLAR };
enum a_selection_mix : uint8_t { MOTLEY, ZERO_PURE, ONE_PURE, TWO_PURE, THREE_PURE };

// Sounds the block operations play (through the document's sound service).
enum : int { SND_BLOCK_WARNING = 136, SND_BLOCK_CLICK = 132, SND_BLOCK_ARRANGE = 132 };
void Block_Sound(int snd);

// Steps omx (OMX_START to begin) to the next block of `kindset`, with
// `selected` only selected ones; false and OMX_NONE at the end.
bool Enum(bool forward, bool selected, a_oj_kind_set kindset, int& omx);
int Count(a_oj_kind_set kindset, bool selected);
bool Selection_Enum(int& omx);  // forward over selected blocks of the selectable kinds
int Selection_Count();
bool Is_One_Selected(int& omx);
bool Is_One_Text_Selected(int& omx);
bool Is_Obj_Selected(int omx);
bool Is_Obj_Visible(int omx);
bool Has_Flag(const a_oj_item& it, a_oj_flag f);
void Set_Flag(a_oj_item& it, a_oj_flag f, bool on);

// The block's box on the unit; empty for the paint block and bad indices.
Rect Obj_BBox(int omx);
a_move_class Obj_Move_Class(int omx);

// The block's area must be composed again (the whole unit for the paint
// block); the list's seq goes up. Geometry changes call it before and after.
void Obj_PostRender(int omx);
void Curr_Unit_PostRender();
// Only the frame on screen must be drawn again.
void Obj_PostRefresh(int omx);
void Obj_Number_Changed();

// Brackets nest; at the outermost end a single selected block brings up the
// bar of its kind and the selection notice goes out.
void Begin_Selection_Change();
void End_Selection_Change();
void Selection_Toggle(int omx);
void Obj_Select_None();
void Obj_Select_None_Except(uint8_t targ_kind);
void Obj_Select_All();
// Selects omx alone and remembers it with the time for double clicks.
void Selection_Set1(int omx, uint32_t ticks = 0);
int Last_Set1_Block(uint32_t& ticks);
void Selection_Convert_Pending();
void Selection_Cycle(bool forward);
void Deselect_Incompatible(a_move_class master_class);
a_selection_mix Calc_Selection_Mix();

// Copies of the selected blocks kept around an interactive operation and
// put back in place.
void Save_Selected_Blocks();
void Restore_Selected_Blocks();
void Dispose_Saved_Blocks();

// A whole block list kept and put back (the previous content is freed).
void OMast_Save(const a_oj_master& oj, a_oj_master*& saved);
void OMast_Restore(a_oj_master*& saved, a_oj_master& oj);
