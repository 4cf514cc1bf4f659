// The window in every language: each phase's widget tree walked for texts of
// ours still in English, Options > Language switching at once, and the Text
// and Print phases in German, Japanese, Greek, Finnish, French and Spanish as
// Xvfb shows them.
#include <QtCore/QFile>
#include <QtCore/QRegularExpression>
#include <QtCore/QSet>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTextStream>
#include <QtGui/QAction>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QAbstractSlider>
#include <QtWidgets/QAbstractSpinBox>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTabWidget>

#include <iterator>
#include <string>

#include "base/messages.h"
#include "base/prefs.h"
#include "base/string_ids.h"
#include "dialogs/field_dialog_qt.h"
#include "dialogs/text_editor_dialog.h"
#include "gui_fixtures.h"
#include "import_menu.h"
#include "language.h"
#include "main_window.h"
#include "model/document.h"
#include "model/selection.h"
#include "panels/photo_panel.h"
#include "shell/menus.h"
#include "model/text_rec.h"
#include "ui/interface.h"
#include "ui/phase.h"
#include "window_host.h"

namespace {

const int kStringLists[] = {MAIN_STR_ID, ALERT_STR_ID, ADJUST_STR_ID, UNITKIND_STR_ID, UNDO_STR_ID,
                            DESIGN_STR_ID};
const int kMenus[] = {MENU_SYSTEM, MENU_FILE, MENU_EDIT, MENU_OPTIONS, MENU_ZOOM, MENU_IMPORT,
                      MENU_EXPORT, MENU_ARRANGE, MENU_HELP, 100, 120};
const a_phase kPhases[] = {PHOTO_PHASE, SYMBOL_PHASE, TEXT_PHASE, PREVIEW_PHASE, CANVAS_PHASE};

// A text as shown: without its accelerator marks and the shortcut after a tab.
QString Shown(QString t) {
    t = t.section('\t', 0, 0);
    t.replace("&&", "\x01");
    t.remove('&');
    t.replace("\x01", "&");
    return t.trimmed();
}

QString Unescape(const QString& t) {
    QString out;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] == '\\' && i + 1 < t.size()) {
            const QChar c = t[++i];
            out += c == 'n' ? QChar('\n') : c == 't' ? QChar('\t') : c == 'r' ? QChar('\r') : c;
        } else {
            out += t[i];
        }
    }
    return out;
}

// Our English texts (window texts, string lists, menus), each with what the
// language shows for it when it deliberately keeps the English wording.
struct a_english {
    QSet<QString> texts;
    QSet<QString> kept;  // kept as they are in the language under test
};

a_english English_Of(int language) {
    a_english e;
    QFile f(QString(CIRQUEL_SOURCE_DIR) + "/data/strings/en.txt");
    if (f.open(QIODevice::ReadOnly)) {
        static const QRegularExpression line("^tr \"((?:[^\"\\\\]|\\\\.)*)\"$");
        QTextStream in(&f);
        while (!in.atEnd()) {
            auto m = line.match(in.readLine());
            if (!m.hasMatch()) continue;
            const QString english = Unescape(m.captured(1));
            std::string s;
            e.texts.insert(Shown(english));
            if (Window_Text(english.toStdString(), language, s) && QString::fromStdString(s) == english)
                e.kept.insert(Shown(english));
        }
    }
    for (int list : kStringLists) {
        for (int i = 1; i < 400; ++i) {
            std::string en, there;
            GetIndString(en, list, i);
            if (en.empty()) continue;
            GetIndString(there, list + language, i);
            e.texts.insert(Shown(QString::fromStdString(en)));
            if (there == en) e.kept.insert(Shown(QString::fromStdString(en)));
        }
    }
    for (int id : kMenus) {
        a_menu en, there;
        if (!Menu_Load(id, LANG_ENGLISH, en) || !Menu_Load(id, language, there)) continue;
        e.texts.insert(Shown(QString::fromStdString(en.title)));
        if (en.title == there.title) e.kept.insert(Shown(QString::fromStdString(en.title)));  // "Zoom"
        for (size_t i = 0; i < en.items.size() && i < there.items.size(); ++i) {
            e.texts.insert(Shown(QString::fromStdString(en.items[i].text)));
            if (en.items[i].text == there.items[i].text) e.kept.insert(Shown(QString::fromStdString(en.items[i].text)));
        }
    }
    e.texts.remove(QString());
    return e;
}

void Menu_Texts(QMenu* menu, QStringList& out) {
    out << menu->title();
    for (QAction* a : menu->actions()) {
        if (a->menu()) Menu_Texts(a->menu(), out);
        else if (!a->isSeparator()) out << a->text() << a->toolTip();
    }
}

// Every text the window shows now: visible widgets' texts and tips, and the
// whole menu bar.
QStringList Visible_Texts(a_main_window& w) {
    QStringList out{w.windowTitle()};
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (!c->isVisible()) continue;
        out << c->toolTip();
        if (auto* l = qobject_cast<QLabel*>(c)) out << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(c)) out << b->text();
        if (auto* g = qobject_cast<QGroupBox*>(c)) out << g->title();
        if (auto* e = qobject_cast<QLineEdit*>(c)) out << e->placeholderText();
        if (auto* t = qobject_cast<QTabWidget*>(c))
            for (int i = 0; i < t->count(); ++i) out << t->tabText(i);
        if (auto* box = qobject_cast<QComboBox*>(c))
            for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    }
    for (QAction* a : w.menuBar()->actions())
        if (a->menu()) Menu_Texts(a->menu(), out);
    return out;
}

// The texts of ours `w` shows in English although `language` translates them.
QStringList Untranslated(a_main_window& w, const a_english& e) {
    QStringList found;
    for (const QString& t : Visible_Texts(w)) {
        const QString s = Shown(t);
        if (e.texts.contains(s) && !e.kept.contains(s) && !found.contains(s)) found << s;
    }
    return found;
}

void Switch_To(int language) {
    Gui_Switch_Language(language);
    QApplication::processEvents();  // the queued rebuild
    QApplication::processEvents();
}

void Phase(a_main_window& w, a_phase p) { Click(w, QString("phase%1").arg(int(p))); }

// The enabled, visible controls in `root` a person works that have no tip,
// neither their own nor of a widget they lie in (Qt shows the nearest one).
QStringList Bare_Controls(QWidget& root, const QString& where) {
    QApplication::processEvents();
    QStringList bare;
    for (QWidget* c : root.findChildren<QWidget*>()) {
        if (!c->isVisible() || !c->isEnabled()) continue;
        bool tipped = false;
        for (QWidget* up = c; up && up != &root && !tipped; up = up->parentWidget())
            tipped = !up->toolTip().isEmpty();
        if (tipped) continue;
        if (qobject_cast<QScrollBar*>(c) || qobject_cast<QMenuBar*>(c)) continue;
        const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QAbstractSlider*>(c) ||
                             qobject_cast<QLineEdit*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                             qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractItemView*>(c) ||
                             qobject_cast<QPlainTextEdit*>(c);
        // A field inside a spin box or combo box is told by its owner's tip.
        const bool inner = qobject_cast<QLineEdit*>(c) && (qobject_cast<QAbstractSpinBox*>(c->parent()) ||
                                                           qobject_cast<QComboBox*>(c->parent()));
        if (!control || inner) continue;
        QString name = c->objectName().isEmpty() ? c->metaObject()->className() : c->objectName();
        if (auto* b = qobject_cast<QAbstractButton*>(c)) name += " \"" + b->text() + "\"";
        bare << where + ": " + name;
    }
    return bare;
}

class a_lang_test : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Switch_To(LANG_ENGLISH); }

    // Every offered language, every phase: no text of ours left in English,
    // and the left panel wide enough for its words.
    void NoPhaseShowsEnglishInAnotherLanguage() {
        a_window_host host;
        QVERIFY(Open_Two_Disc_Stock(host.Window()));
        QStringList failures;
        int offered = 0;
        for (int lang = 1; lang < NLANGUAGES; ++lang) {
            if (!Language_Offered(lang)) continue;
            ++offered;
            Switch_To(lang);
            QCOMPARE(Messages_Language(), lang);
            const a_english e = English_Of(lang);
            for (a_phase p : kPhases) {
                Phase(host.Window(), p);
                for (const QString& t : Untranslated(host.Window(), e))
                    failures << QString("%1 phase %2: \"%3\"").arg(Language_Code(lang)).arg(int(p)).arg(t);
                for (QCheckBox* box : host.Window().findChildren<QCheckBox*>())
                    if (box->isVisible() && box->width() < box->minimumSizeHint().width())
                        failures << QString("%1 phase %2: \"%3\" is cut off").arg(Language_Code(lang)).arg(int(p))
                                        .arg(box->text());
                // The left panel shows its whole width: nothing cut off at its right.
                for (QScrollArea* area : host.Window().findChild<QWidget*>("leftPanel")->findChildren<QScrollArea*>())
                    if (area->isVisible() && area->widget()->width() < area->widget()->minimumSizeHint().width())
                        failures << QString("%1 phase %2: the panel is %3 wide, its contents need %4")
                                        .arg(Language_Code(lang)).arg(int(p)).arg(area->widget()->width())
                                        .arg(area->widget()->minimumSizeHint().width());
            }
        }
        QVERIFY2(offered > 0, "no language besides English is offered");
        QVERIFY2(failures.isEmpty(), qPrintable("shown in English:\n" + failures.join('\n')));
        QVERIFY(Close_Unchanged(host.Window()));
    }

    // The start screen, every phase, the controls that show only with a
    // photo or a symbol selected, and our own dialogs (text editor, crop,
    // track fields): each enabled, visible control a person works has a tip
    // saying what it does (tips are walked for English texts above).
    void EveryControlHasATip() {
        a_window_host host;
        a_main_window& w = host.Window();
        QStringList bare;
        w.resize(1024, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        bare << Bare_Controls(w, "start screen");
        Choose_Stock(w, "A-ONE", "29125", "A-ONE 29125");
        bare << Bare_Controls(w, "stock choice");
        QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
        QVERIFY(g_doc.doc_open);
        for (a_phase p : {CANVAS_PHASE, PHOTO_PHASE, SYMBOL_PHASE, TEXT_PHASE, COLLAGE_PHASE, PREVIEW_PHASE}) {
            Phase(w, p);
            bare << Bare_Controls(w, QString("phase %1").arg(int(p)));
        }

        QTemporaryDir dir;
        Phase(w, PHOTO_PHASE);
        const QString picture = dir.path() + "/sea.png";
        QImage sea(300, 200, QImage::Format_RGB32);
        sea.fill(QColor(30, 90, 170));
        QVERIFY(sea.save(picture));
        w.findChild<a_photo_panel*>("photoPanel")->ask_photos = [picture] { return QStringList{picture}; };
        Click(w, "addPhotos");  // the new photo comes selected
        QCOMPARE(Selection_Count(), 1);
        bare << Bare_Controls(w, "a photo selected");
        bool cropped = false;
        When_Modal([&](QDialog* d) {
            cropped = true;
            bare << Bare_Controls(*d, "crop dialog");
            d->reject();
        });
        Click(w, "photoCrop");
        QVERIFY(cropped);

        Phase(w, SYMBOL_PHASE);
        auto* palette = Find<QListWidget>(w, "symbolPalette");
        QTRY_VERIFY(palette->count() > 0);
        QTest::mouseClick(palette->viewport(), Qt::LeftButton, {}, palette->visualItemRect(palette->item(0)).center());
        QCOMPARE(Selection_Count(), 1);
        bare << Bare_Controls(w, "a symbol selected");

        Phase(w, TEXT_PHASE);
        Click(w, "newText");
        auto* editor = w.findChild<a_text_editor_dialog*>("textEditor");
        QVERIFY(editor && editor->isVisible());
        bare << Bare_Controls(*editor, "text editor");
        Find<QPushButton>(*editor, "textEditorOk")->click();

        const QString list = dir.path() + "/tracks.txt";
        QFile tracks(list);
        QVERIFY(tracks.open(QIODevice::WriteOnly));
        tracks.write("Name\tArtist\tTime\r\nMorning\tThe Band\t185\r\n");
        tracks.close();
        auto* menu = w.findChild<a_import_menu*>("importMenu");
        menu->ask_files = [&](int command) { return command == IMPORT_TABTEXT_CMD ? QStringList{list} : QStringList{}; };
        bool asked = false;
        menu->ask_fields = [&](a_field_dialog_qt& d) {
            d.show();
            asked = QTest::qWaitForWindowExposed(&d);
            bare << Bare_Controls(d, "track fields dialog");
            return false;
        };
        w.Command_Action(IMPORT_TABTEXT_CMD)->trigger();
        QVERIFY(asked);

        bare.removeDuplicates();
        QVERIFY2(bare.isEmpty(), qPrintable("no tip:\n" + bare.join('\n')));
        g_doc.doc_changed = false;
        Phase(w, CANVAS_PHASE);
        QVERIFY(Close_Unchanged(w));
    }

    // Options > Language > Polski: the window is Polish at once, the document
    // and phase as they were, the choice kept in the preferences.
    void LanguageMenuSwitchesAtOnce() {
        if (!Language_Offered(10)) QSKIP("Polish is not offered");
        a_window_host host;
        QVERIFY(Open_Two_Disc_Stock(host.Window()));
        Phase(host.Window(), TEXT_PHASE);
        const int units = int(g_doc.doc_template.nunits);
        auto* polish = host.Window().findChild<QAction*>("language10");
        QVERIFY(polish && polish->isEnabled());
        polish->trigger();
        QApplication::processEvents();
        QApplication::processEvents();
        a_main_window& w = host.Window();
        QCOMPARE(int(g_pref.language_offset), 10);
        QCOMPARE(gs.curr_phase, TEXT_PHASE);
        QCOMPARE(int(g_doc.doc_template.nunits), units);
        QVERIFY(w.isVisible());
        a_menu polish_file;
        QVERIFY(Menu_Load(MENU_FILE, 10, polish_file));
        QCOMPARE(Shown(w.menuBar()->actions().first()->text()), QString::fromStdString(polish_file.title));
        QCOMPARE(Find<QAbstractButton>(w, qPrintable(QString("phase%1").arg(int(TEXT_PHASE))))->text(),
                 QApplication::translate("a_main_window", "Text"));
        QVERIFY(QApplication::translate("a_main_window", "Text") != "Text");
        QVERIFY(w.findChild<QAction*>("language10")->isChecked());
        QVERIFY(Close_Unchanged(w));
    }
};

QString Shot_Name(const char* phase, int language) {
    return QString("lang_%1_%2").arg(phase, Language_Code(language));
}

// German, Japanese, Greek, Finnish; French and Spanish for their help pages.
const int kShotLanguages[] = {LANG_GERMAN, 17, 18, 12, 5, 4};

// The Text phase with a block, and the Print phase, in each language.
int Take_Shots(const QString& dir) {
    a_window_host host;
    if (!Open_Two_Disc_Stock(host.Window())) return 2;
    for (int lang : kShotLanguages) {
        Switch_To(lang);
        a_main_window& w = host.Window();
        Phase(w, TEXT_PHASE);
        if (lang == kShotLanguages[0]) {  // one block, seen in every language
            Click(w, QString("layout%1").arg(int(LAYOUT_CIRC_CW)));
            Click(w, "newText");
            QApplication::processEvents();
            auto* editor = w.findChild<a_text_editor_dialog*>("textEditor");
            if (!editor) return 3;
            editor->Editor()->setPlainText("Summer Mix 2026");
            Find<QPushButton>(*editor, "textEditorOk")->click();  // typing is tested in gui_text
            QApplication::processEvents();
        }
        if (!Screen_Shot(w).save(dir + "/" + Shot_Name("text", lang) + ".png")) return 4;
        Phase(w, PREVIEW_PHASE);
        if (!Screen_Shot(w).save(dir + "/" + Shot_Name("print", lang) + ".png")) return 5;
    }
    g_doc.doc_changed = false;
    Switch_To(LANG_ENGLISH);
    return 0;
}

class a_lang_shots : public QObject {
    Q_OBJECT
private slots:
    void ScreenshotsUnderXvfb() {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
        QStringList names;
        for (int lang : kShotLanguages)
            if (Language_Offered(lang)) names << Shot_Name("text", lang) << Shot_Name("print", lang);
        if (names.size() < int(std::size(kShotLanguages)) * 2) QSKIP("not every language of the pictures is offered yet");
        QString why;
        QVERIFY2(Shots_Match_Goldens(names, why), qPrintable(why));
    }
};

int Run_Tests(char** argv) {
    a_lang_test test;
    a_lang_shots shots;
    return QTest::qExec(&test, 1, argv) | QTest::qExec(&shots, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_lang.moc"
