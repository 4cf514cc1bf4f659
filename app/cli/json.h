// A small JSON writer for the command-line tool's machine-readable output.
#pragma once
#include <string>
#include <string_view>

#include "platform/codepage.h"  // Utf16_To_Utf8 for the texts printed

std::string Json_String(std::string_view utf8);
std::string Json_Number(double v);
