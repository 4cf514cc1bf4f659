// Enumeration names of unit kinds and flags, as the layout text spells them.
// Process-wide state: none.
#pragma once
#include <string_view>

#include "templates/template.h"

std::string_view UnitKind_Name(int kind);  // "UNIT_CD"; empty when out of range
int UnitKind_FromName(std::string_view name);  // -1 when unknown

std::string_view TemplateFlag_Name(int bit);  // "IS_INCHES"; empty for reserved bits
int TemplateFlag_FromName(std::string_view name);

std::string_view UnitFlag_Name(int bit);  // "UNIT_STAGGERED"; empty for reserved bits
int UnitFlag_FromName(std::string_view name);
