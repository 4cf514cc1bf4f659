// Lets the art compiler run on the small test generator (art_compile_mini).
#include "art_items.h"

bool Mini_Generate_All(const std::string& data_dir, std::vector<a_art_item>& items,
                       std::string& error);

bool Art_Generate_All(const std::string& data_dir, std::vector<a_art_item>& items,
                      std::string& error) {
    return Mini_Generate_All(data_dir, items, error);
}
