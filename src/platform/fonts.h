// The installed font families, numbered from 1 in this run. A small service
// until the full font list of the text subsystem exists: names, lookup and the
// base proportional font that stands in for a missing one.
// Process-wide state: the loaded font families (reads and writes, loaded once).
#pragma once
#include <string>
#include <vector>

int Font_Count();
// Family name of font `fontx` (1 .. Font_Count()); empty when out of range.
std::u16string Font_Name(int fontx);
// Font number of the family called `name` (exact, then ignoring case); 0 when none.
int Font_Find(const std::u16string& name);
// The family used where no other is named or the named one is missing.
int Font_Base_Proportional();

// Replaces the system's families by a list of one's own (tests); an empty
// list goes back to the system's.
void Fonts_Use_List(const std::vector<std::u16string>& families);
