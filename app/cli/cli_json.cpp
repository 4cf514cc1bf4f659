#include "cli_json.h"

#include <charconv>
#include <cmath>

namespace {

void Put(const a_json& v, std::string& out) {
    switch (v.type()) {
        case a_json::value_t::object: {
            out += '{';
            bool first = true;
            for (const auto& [key, item] : v.items()) {
                if (!first) out += ", ";
                first = false;
                out += a_json(key).dump(-1, ' ', false, a_json::error_handler_t::replace);
                out += ": ";
                Put(item, out);
            }
            out += '}';
            return;
        }
        case a_json::value_t::array: {
            out += '[';
            for (size_t i = 0; i < v.size(); ++i) {
                if (i) out += ", ";
                Put(v[i], out);
            }
            out += ']';
            return;
        }
        case a_json::value_t::number_float: {
            // Every float we print was a float: its own shortest text, not a double's.
            double d = v.get<double>();
            char buf[32];
            auto [p, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<float>(d));
            out += std::isfinite(d) && ec == std::errc() ? std::string(buf, p) : "null";
            return;
        }
        default:
            out += v.dump(-1, ' ', false, a_json::error_handler_t::replace);
    }
}

}  // namespace

std::string Json_Line(const a_json& v) {
    std::string out;
    Put(v, out);
    return out;
}

std::string Json_Rows(const a_json& array) {
    std::string out = "[\n";
    for (size_t i = 0; i < array.size(); ++i)
        out += "  " + Json_Line(array[i]) + (i + 1 < array.size() ? ",\n" : "\n");
    return out + "]\n";
}
