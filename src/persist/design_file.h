// The design description: a small JSON file naming a stock and, per unit, its
// canvas and its blocks in stacking order, read into a new open document.
// Process-wide state: the document g_doc (replaced), the effects cache and
// the art database (reads) through the block constructors.
#pragma once
#include <cstddef>
#include <string>

// Bounds on what a description may ask for.
enum : size_t {
    DESIGN_MAX_BYTES = 1 << 20,
    DESIGN_MAX_DEPTH = 16,
    DESIGN_MAX_BLOCKS = 100,  // per unit
    DESIGN_MAX_STRING = 4096,
};

struct a_design_options {
    std::string folder;       // relative photo paths are found here
    bool load_pictures = true;  // false: photo and symbol blocks are checked, not made
};

// Replaces the document with the one `text` describes. False with a one-line
// message ("line N: field: what is wrong"), the open document untouched,
// when the description is malformed or names what cannot be found.
[[nodiscard]] bool Design_Read(const std::string& text, const a_design_options& options,
                               std::string& error);
// The same for a file; relative photo paths are taken from its folder.
[[nodiscard]] bool Design_Read_File(const std::string& path, std::string& error);
