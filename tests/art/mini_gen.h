// A small generator of every record kind, for tests of the art compiler.
#pragma once
#include <vector>

#include "art_items.h"

void Art_Generate_Mini(std::vector<a_art_item>& items);
