// Layout text: the form in which the template designer exports a label sheet
// and in which the built-in catalogue is written. A file holds any number of
// records; `(* ... *)` comments may stand between tokens.
// Process-wide state: none.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "templates/template.h"

// What is wrong, in English (`message`), and as the English sentence with
// %1 ... placeholders and its values, for a message in another language.
struct a_layout_error {
    int line = 0;
    std::string message;
    std::string english;
    std::vector<std::string> values;
};

// Parses every record of `text` and appends them to `out`. On the first
// malformed record returns false with its line and a message; `out` is then
// left as it was. `lines` receives the line on which each record begins.
[[nodiscard]] bool Layout_Parse(std::string_view text, std::vector<a_ctemplate>& out, a_layout_error& error,
                                std::vector<int>* lines = nullptr);

// Number of units a catalogue group expands to (0 when nx or ny is 0).
uint64_t CUnit_Count(const a_cunit& g);

// Writes one record as the designer exports it: CR LF line ends, reals with
// four decimals (more where four would not read back as the same value), so
// that Layout_Parse gives back the same record. With `placeholder_sort` the
// sort key is "SORT________".
std::string Layout_Write(const a_ctemplate& t, bool placeholder_sort);
