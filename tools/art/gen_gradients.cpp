// Gradients: colour bands spread evenly between the recipe's stops.
#include <cmath>

#include "art_draw.h"
#include "art_families.h"

namespace {

constexpr int MAX_BANDS = 256;

uint32_t Native(const QColor& c) {
    return 0xFF000000u | (uint32_t(c.red()) << 16) | (uint32_t(c.green()) << 8) |
           uint32_t(c.blue());
}

}  // namespace

bool Art_Gen_Gradients(const std::vector<a_art_recipe>& recipes, std::vector<a_art_item>& items,
                       std::string& error) {
    for (const a_art_recipe& r : recipes) {
        if (r.kind != "gradient") r.Fail("expected a gradient line");
        int id = r.Key("id");
        int bands = r.Int("bands", 64);
        std::vector<QColor> stops = r.Colors("colors");
        if (bands < 2 || bands > MAX_BANDS) r.Fail("bands run from 2 to 256");
        if (Art_Recipe_Problem(r, error)) return false;
        a_art_item item;
        item.key = {3, int16_t(id), 0, 0};
        item.kind = a_art_kind::GRADIENT;
        item.name = r.Text("name");
        for (int i = 0; i < bands; ++i)
            item.gradient.bands.push_back(Native(Art_Ramp(stops, double(i) / (bands - 1))));
        items.push_back(std::move(item));
    }
    return true;
}
