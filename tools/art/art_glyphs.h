// Glyph outlines from the installed free fonts the art uses. Fonts are
// opened by file, never by family name, so that a missing font is an error
// rather than a silent substitute with other shapes.
#pragma once
#include <QtGui/QPainterPath>

#include <string>

// The outline of `code` in font `font` ("dejavu", "dejavu-bold",
// "dejavu-serif", "symbola"), at `pixel_size`, with its origin on the
// baseline. False with `error` set when the font file is missing or lacks
// the character.
bool Art_Glyph_Path(const std::string& font, char32_t code, double pixel_size,
                    QPainterPath& out, std::string& error);

// The outline of a line of text in one font.
bool Art_Text_Path(const std::string& font, const std::u32string& text, double pixel_size,
                   QPainterPath& out, std::string& error);

// `path` scaled and centred into a square of `size` pixels with `margin`.
QPainterPath Art_Fit_Path(const QPainterPath& path, double size, double margin);
