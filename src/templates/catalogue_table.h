// The built-in catalogue: NTEMPLATES packed records, generated at build time.
// Process-wide state: none.
#pragma once
#include "templates/template.h"

extern const int NTEMPLATES;
extern const char g_catalogue_bytes[];
