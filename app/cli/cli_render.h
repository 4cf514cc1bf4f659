// Pictures of the open document written as PNG files, shared by the commands
// that composite units (`render`, `photo`).
#pragma once
#include <cstdint>
#include <string>

#include "pixels/gworld.h"

// Writes `world`; 0, or Cli_Fail(name, reason).
int Cli_Write_Png(const char* name, const GWorld* world, const std::string& out);
// True when a 32-bit picture of `r` can be made.
bool Cli_Fits(const Rect& r);
// Unit ux as it prints at `dpi` (its canvas, blocks and outer shape) into `out`;
// 0, or Cli_Fail(name, reason) when it is too large or cannot be written.
int Cli_Write_Unit_Print(const char* name, uint32_t ux, int dpi, const std::string& out);
