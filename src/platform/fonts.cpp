#include "platform/fonts.h"

#include <QtGui/QFontDatabase>
#include <QtGui/QGuiApplication>
#include <QtGui/QFontMetricsF>
#include <QtCore/QSet>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const char16_t kBaseFamily[] = u"DejaVu Sans";

const char16_t* const kExcluded[] = {u"Terminal", u"FixedSys", u"Sydnie", u"System"};

const char16_t* const kPiPrefixes[] = {
    u"Apple Symbols", u"Bodoni Ornament", u"Bookshelf Symbol", u"Cairo", u"Carta", u"Cubase",
    u"Davys", u"DecoType", u"Extra", u"Hoefler Text Ornaments", u"ITC Zapf Ding", u"Maestro",
    u"Marlett", u"MS Outlook", u"MS Reference", u"MT Extra", u"Oasis CD", u"PressWriter Symbols",
    u"StonePrint-ItalicFracs", u"StonePrint-RomanFracs", u"Cirquel", u"Symbol", u"Tamburo",
    u"Webding", u"Wingding", u"World Wind ding", u"Zapf Ding", u"Petrucci"};

const char16_t* const kSpPrefixes[] = {u"Al Bayan", u"Baghdad", u"Estrangelo", u"Gautami",
                                       u"Geeza",    u"Kufi",    u"Latha",      u"Mangal",
                                       u"MV Boli",  u"Nadeem",  u"Raavi",      u"Shruti",
                                       u"Tunga",    u"GB18"};

bool Starts_With(const std::u16string& s, const char16_t* prefix) {
    return s.starts_with(std::u16string_view(prefix));
}

// A Windows-style character set for a family from the scripts it covers:
// Latin first (most families), then Japanese, then the rest.
uint8_t Charset_Of(const QString& family) {
    const QList<QFontDatabase::WritingSystem> ws = QFontDatabase::writingSystems(family);
    auto has = [&](QFontDatabase::WritingSystem w) { return ws.contains(w); };
    if (has(QFontDatabase::Latin)) return FONT_CHARSET_ANSI;
    if (has(QFontDatabase::Japanese)) return FONT_CHARSET_SHIFTJIS;
    if (has(QFontDatabase::Korean)) return 129;
    if (has(QFontDatabase::SimplifiedChinese)) return 134;
    if (has(QFontDatabase::TraditionalChinese)) return 136;
    if (has(QFontDatabase::Greek)) return 161;
    if (has(QFontDatabase::Hebrew)) return 177;
    if (has(QFontDatabase::Arabic)) return 178;
    if (has(QFontDatabase::Cyrillic)) return 204;
    if (has(QFontDatabase::Thai)) return 222;
    if (has(QFontDatabase::Symbol)) return FONT_CHARSET_SYMBOL;
    return 255;  // OEM: shown as roman
}

a_family_item Make_Item(const std::u16string& name, uint8_t charset, uint8_t pitch) {
    a_family_item it;
    it.fontname = name.substr(0, FONT_NAME_UNITS - 1);
    it.charset = charset;
    it.pitch = pitch;
    it.attrib = Font_Attribs(it.fontname, charset);
    return it;
}

std::vector<a_family_item> g_list;
bool g_loaded = false;

void Load_System_List() {
    g_list.clear();
    QSet<QString> seen;
    for (const QString& f : QFontDatabase::families()) {
        // A family offered by several foundries comes as "Name [foundry]" once
        // per foundry: list it once, by its own name.
        QString plain = f;
        if (int at = f.indexOf(QLatin1String(" [")); at > 0 && f.endsWith(QLatin1Char(']'))) plain = f.left(at);
        if (seen.contains(plain)) continue;
        seen.insert(plain);
        std::u16string name = plain.toStdU16String();
        if (Font_Name_Excluded(name) || QFontDatabase::isPrivateFamily(f)) continue;
        uint8_t pitch = QFontDatabase::isFixedPitch(f) ? FONT_PITCH_FIXED : FONT_PITCH_VARIABLE;
        g_list.push_back(Make_Item(name, Charset_Of(f), pitch));
    }
    // Alphabetical regardless of case, as a font menu shows them.
    std::stable_sort(g_list.begin(), g_list.end(), [](const a_family_item& a, const a_family_item& b) {
        return QString::fromStdU16String(a.fontname).compare(QString::fromStdU16String(b.fontname),
                                                             Qt::CaseInsensitive) < 0;
    });
    if (g_list.size() > MAX_FONT_FAMILIES) g_list.resize(MAX_FONT_FAMILIES);
}

const std::vector<a_family_item>& List() {
    // A short command runs without a drawing toolkit, hence without fonts;
    // the list is made once one that draws has started.
    if (!g_loaded && !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return g_list;
    if (!g_loaded) {
        Load_System_List();
        for (size_t i = 0; i < g_list.size(); ++i) g_list[i].order = int32_t(i + 1);
        g_loaded = true;
    }
    return g_list;
}

// The last fonts measured: layout asks for the same few again and again.
struct a_cached_metrics {
    a_font_key key;
    QFontMetricsF metrics;
};
std::array<std::optional<a_cached_metrics>, 8> g_metrics;
size_t g_metrics_next = 0;

const QFontMetricsF& Metrics(const a_font_key& key) {
    for (auto& m : g_metrics)
        if (m && m->key == key) return m->metrics;
    QFont font(QString::fromStdU16String(Font_Name(key.fontx)));
    // Sizes from damaged records are bounded: no label needs letters this big.
    font.setPixelSize(std::clamp(int(key.pixels + 0.5f), 1, 4000));
    font.setBold(key.bold);
    font.setItalic(key.italic);
    font.setKerning(false);
    auto& slot = g_metrics[g_metrics_next];
    g_metrics_next = (g_metrics_next + 1) % g_metrics.size();
    slot.emplace(a_cached_metrics{key, QFontMetricsF(font)});
    return slot->metrics;
}

}  // namespace

bool Font_Name_Excluded(const std::u16string& name) {
    if (name.empty() || name[0] == u'@') return true;
    for (const char16_t* x : kExcluded)
        if (name == x) return true;
    return false;
}

uint8_t Font_Attribs(const std::u16string& name, uint8_t charset) {
    uint8_t a = 0;
    for (const char16_t* p : kPiPrefixes)
        if (Starts_With(name, p)) a |= 1u << IS_PI_FONT;
    for (const char16_t* p : kSpPrefixes)
        if (Starts_With(name, p)) a |= 1u << IS_SP_FONT;
    if (charset == FONT_CHARSET_SHIFTJIS) a |= 1u << IS_ASIAN_FONT;
    else if (charset != FONT_CHARSET_ANSI && charset != 255) a |= 1u << IS_NONROMAN_FONT;
    return a;
}

int Font_Count() { return static_cast<int>(List().size()); }

const a_family_item* Font_Item(int fontx) {
    if (fontx < 1 || fontx > Font_Count()) return nullptr;
    return &List()[size_t(fontx - 1)];
}

std::u16string Font_Name(int fontx) {
    const a_family_item* it = Font_Item(fontx);
    return it ? it->fontname : std::u16string();
}

int Font_Find(const std::u16string& name) {
    if (name.empty()) return 0;
    const auto& fs = List();
    for (size_t i = 0; i < fs.size(); ++i)
        if (fs[i].fontname == name) return static_cast<int>(i) + 1;
    QString q = QString::fromStdU16String(name);
    for (size_t i = 0; i < fs.size(); ++i)
        if (QString::fromStdU16String(fs[i].fontname).compare(q, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

int Font_Base_Proportional() {
    if (int f = Font_Find(kBaseFamily)) return f;
    if (Font_Count() == 0) return 0;  // no fonts to ask the toolkit about
    // Without DejaVu, the toolkit's own general font, else the first family.
    QString general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (int f = Font_Find(general.toStdU16String())) return f;
    return Font_Count() > 0 ? 1 : 0;
}

void Fonts_Use_List(const std::vector<std::u16string>& families) {
    g_list.clear();
    for (const auto& f : families) g_list.push_back(Make_Item(f, FONT_CHARSET_ANSI, FONT_PITCH_VARIABLE));
    for (size_t i = 0; i < g_list.size(); ++i) g_list[i].order = int32_t(i + 1);
    g_loaded = !families.empty();
    g_metrics.fill(std::nullopt);  // numbers now name other families
}

float Font_Text_Width(const a_font_key& key, const char16_t* s, int n) {
    if (!s || n <= 0) return 0;
    return float(Metrics(key).horizontalAdvance(QString(reinterpret_cast<const QChar*>(s), n)));
}

void Font_Ascent_Descent(const a_font_key& key, float& ascent, float& descent) {
    const QFontMetricsF& m = Metrics(key);
    ascent = float(m.ascent());
    descent = float(m.descent());
}
