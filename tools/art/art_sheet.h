// Contact sheets of generated art, for people to look at: every item of a
// category (optionally one class) in a grid, labelled with its key and name.
#pragma once
#include <string>
#include <vector>

#include "art_items.h"

// A 32-bit opaque sheet; width 0 when no item matches.
a_art_picture Art_Contact_Sheet(const std::vector<a_art_item>& items, int category, int klass);

// The bytes an item will take in the database, roughly: JPEG is encoded as
// the compiler will, PackBits counted exactly, LZW estimated from deflate.
size_t Art_Estimated_Size(const a_art_item& item);

bool Art_Write_Png(const std::string& path, const a_art_picture& picture);
bool Art_Read_Png(const std::string& path, a_art_picture& picture);
