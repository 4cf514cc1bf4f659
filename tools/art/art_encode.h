// Turns the generators' items into database entries with the art writer.
#pragma once
#include <string>
#include <vector>

#include "art_items.h"
#include "artdb/art_writer.h"

// Encodes one item as its record kind; false with `error` naming the item.
bool Art_Encode_Item(const a_art_item& item, a_db_entry& entry, std::string& error);
// Encodes every item and builds the database bytes.
bool Art_Compile(const std::vector<a_art_item>& items, std::vector<uint8_t>& file,
                 std::string& error);
