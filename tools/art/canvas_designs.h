// The canvas designs: each draws one background at any size. Sizes of
// features are in absolute pixels, so a disc and a DVD wrap of the same
// canvas show the same grain, stars or dots.
#pragma once
#include <QtGui/QImage>

#include <string>

#include "art_recipes.h"

using a_canvas_design = QImage (*)(int width, int height, const a_art_recipe& recipe);

// The design called `name`, or nullptr.
a_canvas_design Canvas_Design(const std::string& name);
