// Thumbnails of the art database for the palettes of the clip-art and paint
// panels, and the art the window paints with: the stamp, pattern and border
// chosen in either panel, owned here and lent to g_paint.
#pragma once
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtWidgets/QListWidget>

#include <functional>
#include <vector>

#include "artdb/keyset.h"
#include "paint/paint_art.h"

enum : int { ART_THUMB = 38, ART_CELL = 44 };

// An art picture whole: grey coverage inked in `ink`, colour pictures as they are.
QImage Art_Image(const a_keyset& key, QColor ink);
// The picture as a thumbnail over white.
QImage Art_Thumb(const a_keyset& key, QColor ink);
// The border framing a small square, as a thumbnail.
QImage Border_Thumb(const a_keyset& key);
// The keys of a category (stamps 8, patterns 10, symbols 11), in the database's order.
std::vector<a_keyset> Category_Keys(int16_t category);
// The pictures of the border directory.
std::vector<a_keyset> Border_Keys();

// A grid of thumbnails named `name`; a click hands on the item's key.
QListWidget* Art_Palette(const char* name, const QString& tip, std::function<void(const a_keyset&)> chosen);
// One thumbnail added to such a grid.
void Art_Palette_Add(QListWidget* list, const a_keyset& key, const QImage& thumb, const QString& tip);
// The item of `key` marked as chosen (none when absent).
void Art_Palette_Mark(QListWidget* list, const a_keyset& key);

// The window's paint art. The loaders replace one kind and lend everything
// to g_paint again; false when the key names no such art.
a_paint_art& Window_Paint_Art();
bool Window_Use_Stamp(const a_keyset& key);
bool Window_Use_Pattern(const a_keyset& key);
bool Window_Use_Border(const a_keyset& key);
// Everything loaded freed and no longer lent (the window closes).
void Window_Forget_Art();
