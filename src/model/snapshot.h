// The undo snapshot: the whole document (every unit's header, every block of
// every master unit, the paint layers) as one image of bytes, which is also
// the exact content of the step's undo file: a 32-bit descriptor count, the
// descriptors (18 bytes each), then the data blocks. Numbers are in the
// host's order; the image never leaves the running program.
// Applying an image checks all of it first (counts, lengths and offsets
// against its size, field codes, every data block, the order of the units
// and blocks), so a damaged image is refused before the document is touched.
// Process-wide state: the snapshot `ram` (reads and writes), the document g_doc (reads; the
// restore writes).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum a_ram_field : uint8_t {
    RAM_UNITD = 0,         // a unit's header
    RAM_OJ = 1,            // one block
    RAM_PAINT1 = 2,        // the paint world
    RAM_PAINT1M = 3,       // the paint mask
    RAM_PAINT1_INUSE = 4,  // the paintinuse byte
    RAM_DEAD = 5,          // a freed descriptor, skipped
};

enum : uint32_t { MAXNRAMITEMS = 660, RAM_ITEM_BYTES = 18, RAM_HEADER_BYTES = 4 };

// One descriptor; on disk: field, pad, unitx, subx, len, offset.
struct a_ram_item {
    uint8_t field = RAM_DEAD;
    uint8_t pad = 0;
    int32_t unitx = 0;  // 1-based unit
    int32_t subx = 0;   // block index within the unit, 0 when not a block
    uint32_t len = 0;   // data bytes
    int32_t offset = 0; // position of the data in the image (and the file)
};

struct a_ram_rec {
    int32_t slot = -1;    // the ring slot it belongs to; -1 none
    uint32_t totlen = 0;  // data bytes
    uint32_t nwrit = 0;   // descriptors written to the undo file
    uint32_t nlist = 0;
    a_ram_item desc[MAXNRAMITEMS];
    std::vector<uint8_t> image;  // what the undo file holds
};

extern a_ram_rec ram;

// Snapshots the open document for ring slot `id`. False (and no snapshot)
// when it needs more than MAXNRAMITEMS descriptors: that step cannot be kept.
[[nodiscard]] bool Doc_To_RAM(int id);
void RAM_Dispose();

// Reads the count and descriptors of an image; false when they do not fit it.
[[nodiscard]] bool Read_Descriptors(const uint8_t* p, size_t n, uint32_t& count,
                                    a_ram_item* desc);
// Whether the image is one this document can take, in every byte; `why`
// names the first fault.
[[nodiscard]] bool Check_Image(const uint8_t* p, size_t n, std::string* why = nullptr);
// Makes the document what a checked image holds: frees the blocks of the
// masters (Restore_Prep), then applies each descriptor in order (Buf_To_Doc).
void Image_To_Doc(const uint8_t* p, size_t n);
// The in-memory snapshot applied to the document.
void RAM_To_Doc();
