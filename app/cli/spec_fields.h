// The effect fields of a photo or symbol block by their record names, as
// `--set FIELD=VALUE` gives them to `effect` and `photo`.
#pragma once
#include <string>

#include "model/effect_spec.h"

// One FIELD=VALUE into `spec`: numbers within their controls' ranges, 0 or 1
// for switches, #RRGGBB for colours, top,left,bottom,right for `subset`.
// False, `spec` untouched, with a one-line message for an unknown field or a
// bad value.
[[nodiscard]] bool Set_Spec_Field(a_spec& spec, const std::string& assignment, std::string& error);
