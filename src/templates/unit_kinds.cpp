#include "templates/unit_kinds.h"

#include <iterator>

namespace {

constexpr std::string_view kKindNames[NUNIT_KINDS] = {
    "UNIT_EMPTY", "UNIT_CIRCLE", "UNIT_OVAL", "UNIT_RECT", "UNIT_VISITING", "UNIT_VISITING2",
    "UNIT_CD", "UNIT_CD_CORE", "UNIT_CD_WALLET", "UNIT_MINICD_RING", "UNIT_MINICD_HOCKEY",
    "UNIT_MINICD_RECT", "UNIT_MINICD_LID1", "UNIT_MINICD_LID2", "UNIT_JEWEL_LID1",
    "UNIT_JEWEL_LID2", "UNIT_JEWEL_LID3", "UNIT_JEWEL_SLIMLINE", "UNIT_JEWEL_SPINE",
    "UNIT_JEWEL_BASE", "UNIT_SUPER_BASE", "UNIT_SUPER_DVD_BASE", "UNIT_SUPER_INSERT2",
    "UNIT_DVDBOX_INSERT", "UNIT_DVDBOX_INSERT2", "UNIT_DVDBOX_WRAP", "UNIT_AUDIO_FACE",
    "UNIT_AUDIO_SPINE", "UNIT_AUDIO_JCARD", "UNIT_AUDIO_BOX", "UNIT_DAT_FACE", "UNIT_DAT_SPINE",
    "UNIT_DAT_JCARD", "UNIT_VHS_FACE", "UNIT_VHS_SPINE", "UNIT_VHS_WRAP", "UNIT_VHS_THIRD",
    "UNIT_VHS_SLEEVE", "UNIT_BETACAM_FACE", "UNIT_BETACAM_SPINE", "UNIT_BETACAM_INSERT",
    "UNIT_UMATIC_FACE", "UNIT_UMATIC_SPINE", "UNIT_UMATIC_INSERT", "UNIT_MINIDV_FACE",
    "UNIT_MINIDV_SPINE", "UNIT_MINIDV_INSERT", "UNIT_DVCAM_FACE", "UNIT_DVCAM_SPINE",
    "UNIT_DVCAM_INSERT", "UNIT_DVCPRO_FACE", "UNIT_DVCPRO_SPINE", "UNIT_DVCPRO_INSERT",
    "UNIT_STATUS", "UNIT_HI8_FACE", "UNIT_HI8_JCARD", "UNIT_MD_FACEL", "UNIT_MD_FACE",
    "UNIT_MD_SPINE", "UNIT_8MM_FACE", "UNIT_8MM_SPINE", "UNIT_FLOPPY", "UNIT_LAMINATED",
    "UNIT_VIDEOTITLE", "UNIT_XDCAM_INSERT", "UNIT_XDCAM_FACE", "UNIT_VCD_WRAP",
    "UNIT_D5_SPINE", "UNIT_D5_INSERT", "UNIT_BLURAY_WRAP",
};

constexpr std::string_view kTemplateFlagNames[NTEMPLATE_FLAGS_NAMED] = {
    "IS_CDPRINTER", "IS_LANDSCAPE", "IS_PITCHBETWEEN", "IS_INCHES", "IS_CLIPPINGPRINTER",
    "IS_DYMO_MONET", "IS_LIGHTSCRIBE", "IS_SHOWNOPAPER", "IS_FLEXSTICK", "IS_FLEXLABEL",
};

constexpr std::string_view kUnitFlagNames[NUNIT_FLAGS_NAMED] = {
    "UNIT_FLIPX", "UNIT_FLIPY", "UNIT_ROTATE90", "UNIT_ROTATE180", "UNIT_ROTATE270",
    "UNIT_STAGGERED", "UNIT_SHORTODD", "UNIT_CROPMARKS", "UNIT_CLOBBERS", "UNIT_NOTINDEXED",
    "UNIT_PERIMETERBLEED", "UNIT_PERIMETERPLUSH", "UNIT_PERIMETERPLUSV",
};

template <size_t N>
std::string_view Name_At(const std::string_view (&names)[N], int i) {
    return (i >= 0 && i < static_cast<int>(N)) ? names[i] : std::string_view{};
}

template <size_t N>
int Index_Of(const std::string_view (&names)[N], std::string_view name) {
    for (size_t i = 0; i < N; ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::string_view UnitKind_Name(int kind) { return Name_At(kKindNames, kind); }
int UnitKind_FromName(std::string_view name) { return Index_Of(kKindNames, name); }
std::string_view TemplateFlag_Name(int bit) { return Name_At(kTemplateFlagNames, bit); }
int TemplateFlag_FromName(std::string_view name) { return Index_Of(kTemplateFlagNames, name); }
std::string_view UnitFlag_Name(int bit) { return Name_At(kUnitFlagNames, bit); }
int UnitFlag_FromName(std::string_view name) { return Index_Of(kUnitFlagNames, name); }
