// Messages made from a fixed set of English sentences with %1 ... %9 for
// their values (field names, lines, numbers), so that each sentence has its
// translation in data/strings/*.txt. Defined in messages.cpp.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The sentence in the interface language (English when it lacks one), its
// %1 ... %9 replaced by `values` in one pass (a value holding "%2" stays).
std::string Message_Text(std::string_view english, const std::vector<std::string>& values = {});
