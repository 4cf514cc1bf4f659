// The generators' entry point for the test build of the art compiler.
#include "mini_gen.h"

bool Art_Generate_All(const std::string&, std::vector<a_art_item>& items, std::string&) {
    Art_Generate_Mini(items);
    return true;
}
