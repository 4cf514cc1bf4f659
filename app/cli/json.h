// A small JSON writer for the command-line tool's machine-readable output.
#pragma once
#include <string>
#include <string_view>

std::string Json_String(std::string_view utf8);
std::string Json_Number(double v);
std::string Utf16_To_Utf8(const std::u16string& s);
