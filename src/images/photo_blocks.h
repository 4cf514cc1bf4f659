// Photo and symbol blocks with their pictures: importing files, pasting,
// clip-art symbols, default sizes, fitting and covering the unit, turning,
// flipping, cropping, repairing a missing file, the box a block takes on the
// unit, and resizing by a corner handle.
// Process-wide state: the document g_doc (reads and writes the current unit), the effects cache
// (reads and writes), the preferences (reads); records history steps and plays sounds through the
// document services.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "artdb/keyset.h"
#include "model/photo_rec.h"
#include "model/block_moves.h"
#include "pixels/gworld.h"
#include "render/effects_cache.h"

constexpr int PHOTO_MAX_FILES = 50;  // files taken from one import

// 1000 when the picture fits the unit both ways, else the smaller of the two
// ratios, within 50..6000.
void Calc_Default_Scaling(const Rect& photo_bounds, int16_t& scaling);

// One block per file (at most PHOTO_MAX_FILES), with messages; stops with the
// warning sound when the unit is full. Returns the blocks made.
int Photo_New(const std::vector<std::string>& paths);
// `code`, when given, receives the reader's result (SCAN_OK when the file was
// read), so a caller without alerts can name the reason.
[[nodiscard]] bool Photo_NewP(bool verbose, const std::string& path, int* code = nullptr);
[[nodiscard]] bool Photo_New_External(bool verbose, Point new_center, const std::string& path,
                                      int* code = nullptr);
// The common tail of every import; takes the picture (and its file's bytes
// when photos are embedded). False when the unit is full (picture freed).
[[nodiscard]] bool Photo_New_External2(const std::string& new_path, Point new_center,
                                       a_source_desc new_source, const char new_codec[4],
                                       a_masked_gworld& new_mw);
// The file's whole bytes; nullptr (message 16 shown for memory) on failure.
a_raw_bytes* Read_Original(const std::string& path);
// A picture from the clipboard or a collage; takes the picture.
[[nodiscard]] bool Photo_Paste(a_source_kind paste_kind, a_masked_gworld& paste_mw);
// A block copied from this program; nothing when its source has gone.
[[nodiscard]] bool Do_Paste_PH(const a_pasted_ph_rec& pasted);
// A clip-art symbol (or stamp) of the art database in `color`.
[[nodiscard]] bool Symbol_New(const a_keyset& key, const a_win_pixel32& color);
// A stamp of the art database (its own colours, clear where its alpha is)
// as a photo of those pixels, kept with the project like a pasted picture.
// False when the key holds no 32-bit picture or the unit is full.
[[nodiscard]] bool Stamp_New(const a_keyset& key);
// The masked world of such a picture: colour from its pixels, coverage from
// their alpha (clear pixels white, so that scaling leaves no dark fringe).
[[nodiscard]] bool Stamp_Picture(const a_keyset& key, a_masked_gworld& mw);

// The single selected block scaled to the unit's width (height), proportions
// kept, and centred that way. Cover: the larger ratio both ways (P) or each
// axis on its own (D), centred.
void Photo_Fit_H();
void Photo_Fit_V();
void Photo_Cover_P();
void Photo_Cover_D();
// A quarter turn of every selected block, wrapping within -1800..1800.
void Photo_Rotate_CW();
void Photo_Rotate_CCW();
int Wrap_Angle(int angle);
void Photo_FlipX();
void Photo_FlipY();
void Photo_Invert();
// The single selected block's crop, in source pixels.
void Photo_Crop2(const Rect& new_crop);
// Block omx takes the picture of `path` (a missing file found again, or a
// replacement); false when it cannot be read.
[[nodiscard]] bool Photo_Fix2(int omx, const std::string& path);
[[nodiscard]] bool Photo_Replace(const std::string& path);

// dst_box: the rendered size centred on dst_center.
void Photo_Calc_DstBox(int omx);
void Photo_Recalc(int omx);
// Box and re-render; with setf the block becomes the only selection.
void Photo_Merge(bool setf, int newx);

// Resizing by corner `part` (1..4) from the record as it was when the drag
// began: the opposite corner stays, the scalings follow the new box (within
// the slider range, equal when constrained). STOP records the step.
void Track_Photo_Scaling(a_track_mode mode, int omx, int part, const a_ph_rec& start, Point cell,
                         bool constrain);

// The cache cannot give the block a body (its source is gone); OMX_NONE: false.
bool Is_Photo_Missing(int omx);
// The repair command is offered for a single selected photo block that is missing.
bool Calc_Hilite_PhFix();
