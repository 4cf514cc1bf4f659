// Arranging the selected blocks of the current unit: the six alignments, the
// two spreads, centring on a point of the unit, the stacking order, and
// duplicating and deleting. Each command is one history step.
// Process-wide state: the document g_doc (reads and writes the current unit), the selection state
// of model/selection.h.
#pragma once

enum a_align_edge : int { ALIGN_H_L, ALIGN_H_C, ALIGN_H_R, ALIGN_V_T, ALIGN_V_C, ALIGN_V_B };
// Every selected block lines up with the one whose top is highest.
void Enum_Align(a_align_edge edge);
inline void Enum_Align_H_L() { Enum_Align(ALIGN_H_L); }
inline void Enum_Align_H_C() { Enum_Align(ALIGN_H_C); }
inline void Enum_Align_H_R() { Enum_Align(ALIGN_H_R); }
inline void Enum_Align_V_T() { Enum_Align(ALIGN_V_T); }
inline void Enum_Align_V_C() { Enum_Align(ALIGN_V_C); }
inline void Enum_Align_V_B() { Enum_Align(ALIGN_V_B); }
// The outermost two stay; the others get equal gaps between them (integer
// interpolation of the free space).
void Obj_Spread_H();
void Obj_Spread_V();
// Every selected block's centre to a point of the unit; a coordinate of
// KEEP_COORD stays.
void Enum_AlignTo(int new_v, int new_h);
void Align_Center();
void Align_Horz(int num, int den);
void Align_Vert(int num, int den);

// base + delta, kept within the first and last blocks of the selectable kinds.
int Constrain_Layer_Index(int base, int delta);
bool Layer_Can_Arrange(int delta);
void Layer_ArrangeRel(int deltaz);
void Layer_Arrange(int oldx, int newx);
// Takes block oldx out and puts it back at newx; the blocks between shift.
void Layer_Arrange2(int oldx, int newx);

// Copies of every selected photo, symbol and text block become the selection.
void Enum_Obj_Dup();
// Removes every selected block, from the top down.
void Enum_Obj_Del();
