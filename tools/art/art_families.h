// One generator per family of records; each turns the recipes of its file
// under data/art/ into items. Art_Generate_All runs them in a fixed order.
#pragma once
#include <string>
#include <vector>

#include "art_items.h"
#include "art_recipes.h"

using a_art_family = bool (*)(const std::vector<a_art_recipe>& recipes,
                              std::vector<a_art_item>& items, std::string& error);

bool Art_Gen_Canvases(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Stamps(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Patterns(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Symbols(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Gradients(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Borders(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Sounds(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);
bool Art_Gen_Interface(const std::vector<a_art_recipe>&, std::vector<a_art_item>&, std::string&);

// The picture item of `key` with `name`.
a_art_item Art_Picture_Item(a_art_key key, const std::string& name, a_art_picture picture);
