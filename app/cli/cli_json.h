// JSON output of cirquel-cli: values are built with nlohmann's ordered JSON
// (keys keep the order they were added in) and printed in the tool's house
// style: one line, ", " and ": " between items, floats as the shortest text
// that reads back as the same float.
#pragma once
#include <string>

#include <nlohmann/json.hpp>

using a_json = nlohmann::ordered_json;

std::string Json_Line(const a_json& v);
// "[\n  item,\n  item\n]\n": one item of an array per line.
std::string Json_Rows(const a_json& array);
