// Label stocks: the compact catalogue record and the expanded template a
// document holds, with the unit kinds and flags.
// Process-wide state: none.
#pragma once
#include <bit>
#include <cstdint>

#include "platform/geometry.h"

static_assert(std::endian::native == std::endian::little,
              "catalogue records are compared as little-endian bytes");

enum a_unit_kind : uint8_t {
    UNIT_EMPTY, UNIT_CIRCLE, UNIT_OVAL, UNIT_RECT, UNIT_VISITING, UNIT_VISITING2, UNIT_CD,
    UNIT_CD_CORE, UNIT_CD_WALLET, UNIT_MINICD_RING, UNIT_MINICD_HOCKEY, UNIT_MINICD_RECT,
    UNIT_MINICD_LID1, UNIT_MINICD_LID2, UNIT_JEWEL_LID1, UNIT_JEWEL_LID2, UNIT_JEWEL_LID3,
    UNIT_JEWEL_SLIMLINE, UNIT_JEWEL_SPINE, UNIT_JEWEL_BASE, UNIT_SUPER_BASE,
    UNIT_SUPER_DVD_BASE, UNIT_SUPER_INSERT2, UNIT_DVDBOX_INSERT, UNIT_DVDBOX_INSERT2,
    UNIT_DVDBOX_WRAP, UNIT_AUDIO_FACE, UNIT_AUDIO_SPINE, UNIT_AUDIO_JCARD, UNIT_AUDIO_BOX,
    UNIT_DAT_FACE, UNIT_DAT_SPINE, UNIT_DAT_JCARD, UNIT_VHS_FACE, UNIT_VHS_SPINE,
    UNIT_VHS_WRAP, UNIT_VHS_THIRD, UNIT_VHS_SLEEVE, UNIT_BETACAM_FACE, UNIT_BETACAM_SPINE,
    UNIT_BETACAM_INSERT, UNIT_UMATIC_FACE, UNIT_UMATIC_SPINE, UNIT_UMATIC_INSERT,
    UNIT_MINIDV_FACE, UNIT_MINIDV_SPINE, UNIT_MINIDV_INSERT, UNIT_DVCAM_FACE,
    UNIT_DVCAM_SPINE, UNIT_DVCAM_INSERT, UNIT_DVCPRO_FACE, UNIT_DVCPRO_SPINE,
    UNIT_DVCPRO_INSERT, UNIT_STATUS, UNIT_HI8_FACE, UNIT_HI8_JCARD, UNIT_MD_FACEL,
    UNIT_MD_FACE, UNIT_MD_SPINE, UNIT_8MM_FACE, UNIT_8MM_SPINE, UNIT_FLOPPY, UNIT_LAMINATED,
    UNIT_VIDEOTITLE, UNIT_XDCAM_INSERT, UNIT_XDCAM_FACE, UNIT_VCD_WRAP, UNIT_D5_SPINE,
    UNIT_D5_INSERT, UNIT_BLURAY_WRAP
};
enum : int { NUNIT_KINDS = 70 };

// Bit numbers of a_ctemplate::tflags.
enum a_template_flag : uint8_t {
    IS_CDPRINTER = 0,
    IS_LANDSCAPE = 1,
    IS_PITCHBETWEEN = 2,
    IS_INCHES = 3,
    IS_CLIPPINGPRINTER = 4,
    IS_DYMO_MONET = 5,
    IS_LIGHTSCRIBE = 6,
    IS_SHOWNOPAPER = 7,
    IS_FLEXSTICK = 8,
    IS_FLEXLABEL = 9,
    NTEMPLATE_FLAGS_NAMED = 10
};

// Bit numbers of a_cunit::uflags.
enum a_unit_flag : uint8_t {
    UNIT_FLIPX = 0,
    UNIT_FLIPY = 1,
    UNIT_ROTATE90 = 2,
    UNIT_ROTATE180 = 3,
    UNIT_ROTATE270 = 4,
    UNIT_STAGGERED = 5,
    UNIT_SHORTODD = 6,
    UNIT_CROPMARKS = 7,
    UNIT_CLOBBERS = 8,
    UNIT_NOTINDEXED = 9,
    UNIT_PERIMETERBLEED = 10,
    UNIT_PERIMETERPLUSH = 11,
    UNIT_PERIMETERPLUSV = 12,
    NUNIT_FLAGS_NAMED = 13
};

enum a_platform : uint8_t { PLATFORM_MAC = 0, PLATFORM_WIN = 1 };

constexpr bool Has_Flag(uint32_t set, unsigned bit) { return (set >> bit) & 1u; }
constexpr uint32_t Flag_Bit(unsigned bit) { return 1u << bit; }

enum : int { MAXNUNITS = 250, MAXNGROUPS = 6, MAXNTEMPLATES = 4000 };

#pragma pack(push, 1)
// One group of identical units in a catalogue record (69 bytes).
struct a_cunit {
    uint8_t kind;     // a_unit_kind
    uint32_t uflags;  // set of a_unit_flag
    uint32_t nx;
    uint32_t ny;
    float bboxleft, bboxtop, bboxwidth, bboxheight;
    float pitchx, pitchy;
    float bleedleft, bleedtop, bleedright, bleedbottom;  // always millimetres
    float meas1, meas2, meas3, meas4;
};

// One catalogue record (475 bytes); sorted by comparing all bytes unsigned.
struct a_ctemplate {
    char sort[12];      // never shown
    char label[32];     // NUL-filled; first word is the brand
    uint8_t platforms;  // set of a_platform
    uint32_t tflags;    // set of a_template_flag
    a_fpoint papersize; // millimetres, as fed to the printer
    uint32_t nunits;    // groups considered, 1 to 6
    a_cunit units[MAXNGROUPS];
};
#pragma pack(pop)
static_assert(sizeof(a_cunit) == 69);

static_assert(sizeof(a_ctemplate) == 475);

// Groups that count, never more than the record holds. (Packed fields are read
// by value: references to them would be misaligned.)
inline a_fpoint CTemplate_Paper(const a_ctemplate& t) {
    return a_fpoint{t.papersize.x, t.papersize.y};
}

inline uint32_t CTemplate_NGroups(const a_ctemplate& t) {
    uint32_t n = t.nunits;
    return n < MAXNGROUPS ? n : uint32_t(MAXNGROUPS);
}

// One label piece of an expanded template, in millimetres.
struct a_unit {
    uint8_t kind = UNIT_EMPTY;
    uint32_t uflags = 0;
    int16_t viewangle = 0;  // degrees; 0 after expansion
    a_frect bbox;           // in the template's own frame
    a_frect bleed;          // left, top, right, bottom
    float meas[4] = {};
    bool operator==(const a_unit&) const = default;
};

// The expanded template a document holds; units 1..nunits are used.
struct a_template {
    char label[32] = {};
    uint32_t tflags = 0;
    a_fpoint papersize{};
    uint32_t nunits = 0;
    a_unit units[MAXNUNITS + 1];  // index 0 unused

    const a_unit& Unit(uint32_t ux) const { return units[ux]; }
};
