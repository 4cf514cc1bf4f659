#include "language.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QLibraryInfo>
#include <QtCore/QStringList>
#include <QtCore/QTimer>
#include <QtCore/QTranslator>
#include <QtGui/QActionGroup>
#include <QtWidgets/QMenu>

#include <array>
#include <memory>
#include <string>

#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"

namespace {

// Our texts by their English wording; the context (the class that called
// tr) does not matter, one wording has one translation.
class a_text_translator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        std::string s;
        if (!source || !Window_Text(source, Messages_Language(), s)) return QString();
        return QString::fromStdString(s);
    }
};

// The names of Qt's translation files by language index.
constexpr std::array<const char*, NLANGUAGES> kQtLocales = {
    "en", "cs", "da", "de", "es", "fr", "it", "hu", "nl", "nn",
    "pl", "pt_PT", "fi", "sv", "tr", "zh_TW", "zh_CN", "ja", "el", "ko"};

constexpr std::array<const char*, NLANGUAGES> kLanguageNames = {
    "English", "Čeština", "Dansk", "Deutsch", "Español", "Français", "Italiano",
    "Magyar", "Nederlands", "Norsk", "Polski", "Português", "Suomi", "Svenska",
    "Türkçe", "繁體中文", "简体中文", "日本語", "Ελληνικά", "한국어"};

std::unique_ptr<a_text_translator> g_ours;
std::unique_ptr<QTranslator> g_qt;
std::function<void()> g_rebuild;

// Qt's own texts: qtbase_xx from Qt's translations folder; Norwegian and
// Portuguese fall back to their sister forms when one is missing.
void Load_Qt_Translation(int language) {
    if (g_qt) QCoreApplication::removeTranslator(g_qt.get());
    g_qt.reset();
    if (language == LANG_ENGLISH) return;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QString wanted = kQtLocales[size_t(language)];
    auto t = std::make_unique<QTranslator>();
    QStringList names{wanted};
    if (language == 9) names << "nb";
    if (language == 11) names << "pt_BR";
    for (const QString& name : names) {
        if (t->load("qtbase_" + name, folder)) {
            g_qt = std::move(t);
            QCoreApplication::installTranslator(g_qt.get());
            return;
        }
    }
}

}  // namespace

void Gui_Apply_Language() {
    if (!g_ours) {
        g_ours = std::make_unique<a_text_translator>();
        QCoreApplication::installTranslator(g_ours.get());
    }
    Load_Qt_Translation(Messages_Language());
}

QString Language_Name(int language) {
    if (language < 0 || language >= NLANGUAGES) return QString();
    return QString::fromUtf8(kLanguageNames[size_t(language)]);
}

void Add_Language_Menu(QMenu* options, QWidget* window) {
    options->addSeparator();
    QMenu* menu = options->addMenu(QObject::tr("Language"));
    menu->setObjectName("languageMenu");
    auto* group = new QActionGroup(menu);
    for (int lang = 0; lang < NLANGUAGES; ++lang) {
        if (!Language_Offered(lang)) continue;
        QAction* a = menu->addAction(Language_Name(lang));
        a->setObjectName(QString("language%1").arg(lang));
        a->setCheckable(true);
        a->setChecked(lang == Messages_Language());
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, window, [lang] { Gui_Switch_Language(lang); });
    }
}

void Gui_Switch_Language(int language) {
    if (language == Messages_Language() || !Language_Offered(language)) return;
    Prefs_Set_Language(language);
    Gui_Apply_Language();
    if (g_rebuild) QTimer::singleShot(0, [] { if (g_rebuild) g_rebuild(); });
}

void Gui_Set_Rebuild_Hook(std::function<void()> rebuild) { g_rebuild = std::move(rebuild); }
