#include "platform/fonts.h"

#include <QtGui/QFontDatabase>

namespace {

const char16_t kBaseFamily[] = u"DejaVu Sans";

std::vector<std::u16string> g_families;
bool g_loaded = false;

const std::vector<std::u16string>& Families() {
    if (!g_loaded) {
        g_families.clear();
        for (const QString& f : QFontDatabase::families()) g_families.push_back(f.toStdU16String());
        g_loaded = true;
    }
    return g_families;
}

}  // namespace

int Font_Count() { return static_cast<int>(Families().size()); }

std::u16string Font_Name(int fontx) {
    if (fontx < 1 || fontx > Font_Count()) return {};
    return Families()[static_cast<size_t>(fontx - 1)];
}

int Font_Find(const std::u16string& name) {
    if (name.empty()) return 0;
    const auto& fs = Families();
    for (size_t i = 0; i < fs.size(); ++i)
        if (fs[i] == name) return static_cast<int>(i) + 1;
    QString q = QString::fromStdU16String(name);
    for (size_t i = 0; i < fs.size(); ++i)
        if (QString::fromStdU16String(fs[i]).compare(q, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    return 0;
}

int Font_Base_Proportional() {
    if (int f = Font_Find(kBaseFamily)) return f;
    // Without DejaVu, the toolkit's own general font, else the first family.
    QString general = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (int f = Font_Find(general.toStdU16String())) return f;
    return Font_Count() > 0 ? 1 : 0;
}

void Fonts_Use_List(const std::vector<std::u16string>& families) {
    g_families = families;
    g_loaded = !families.empty();
}
