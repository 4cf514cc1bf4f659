// The template designer as a person uses it: a 2-up disc sheet typed in
// field by field (each fault shown beside its field, Export held back until
// the design holds), exported, added to the user's layouts, chosen in the
// chooser under its brand.
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include "dialogs/designer_dialog.h"
#include "gui_fixtures.h"
#include "main_window.h"
#include "model/document.h"
#include "persist/disc_read.h"
#include "templates/user_catalogue.h"

namespace {

void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

QLineEdit* Field(QWidget& d, int item) {
    return Find<QLineEdit>(d, qPrintable(QString("designField%1").arg(item)));
}

QString Check(QWidget& d, int item) {
    return Find<QLabel>(d, qPrintable(QString("designCheck%1").arg(item)))->text();
}

// Item `index` of a menu chosen with the keys: Home, then down arrows.
void Step_Menu(QComboBox* menu, int index) {
    menu->setFocus();
    QTest::keyClick(menu, Qt::Key_Home);
    for (int i = 0; i < index; ++i) QTest::keyClick(menu, Qt::Key_Down);
}

// The 2-up sheet typed in: A4, two 118 mm discs one above the other.
void Type_Two_Up(QWidget& d) {
    Type(Find<QLineEdit>(d, "designName"), "Mine 2-up CD");
    Step_Menu(Find<QComboBox>(d, "designPaper"), 5);  // A4
    Step_Menu(Find<QComboBox>(d, "designKind"), UNIT_CD);
    Type(Field(d, DES_NX), "1");
    Type(Field(d, DES_NY), "2");
    Type(Field(d, DES_LEFT), "46");
    Type(Field(d, DES_TOP), "20");
    Type(Field(d, DES_UWIDTH), "118");
    Type(Field(d, DES_UHEIGHT), "118");
    Type(Field(d, DES_PITCHY), "20");
    Type(Field(d, DES_MEAS1), "41");
}

class a_design_test : public QObject {
    Q_OBJECT
private slots:
    void DesignExportAddAndChoose();
    void ScreenshotsUnderXvfb();
};

void a_design_test::DesignExportAddAndChoose() {
    QTemporaryDir dir;
    a_main_window w;
    w.resize(1024, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QAction* designer = w.Command_Action(606);
    QVERIFY(designer && designer->isEnabled());
    const QString layout = dir.path() + "/two-up.layout";
    QString seen;
    bool done = false;
    When_Modal([&](QDialog* modal) {
        auto* d = qobject_cast<a_designer_dialog*>(modal);
        if (!d) return modal->reject();
        d->ask_file = [&](bool save, const QString& proposed) {
            seen += (save ? "save " : "open ") + proposed.left(6) + ";";
            return layout;
        };
        auto* exporter = Find<QPushButton>(*d, "designExport");
        // Nothing yet: no name, no section; Export held back.
        seen += exporter->isEnabled() ? "E" : "-";
        seen += Check(*d, DES_NAME).isEmpty() ? "" : "n";
        Step_Menu(Find<QComboBox>(*d, "designKind"), UNIT_CD);
        Type(Field(*d, DES_NX), "1");
        Type(Field(*d, DES_NY), "2");
        seen += Check(*d, DES_UWIDTH).isEmpty() ? "" : "w";  // counts without a size
        Type_Two_Up(*d);
        seen += exporter->isEnabled() ? "E" : "-";
        // Too low on the sheet: the fault by the left field, then put right.
        Type(Field(*d, DES_TOP), "60");
        seen += Check(*d, DES_LEFT).isEmpty() || exporter->isEnabled() ? "" : "o";
        Type(Field(*d, DES_TOP), "20");
        seen += exporter->isEnabled() ? "E" : "-";
        QTest::mouseClick(exporter, Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(*d, "designAdd"), Qt::LeftButton);
        seen += Find<QComboBox>(*d, "designMine")->count() == 1 ? "m" : "";
        QTest::mouseClick(Find<QPushButton>(*d, "designCancel"), Qt::LeftButton);
        done = true;
    });
    designer->trigger();
    QVERIFY(done);
    QCOMPARE(seen, QString("-nwEoEsave LAYOUT;m"));
    QFile exported(layout);
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QVERIFY(exported.readAll().startsWith("(* LAYOUT Version 4.00 *)\r\n{ \"SORT________\", \"Mine 2-up CD\""));
    QCOMPARE(User_Catalogue().size(), size_t(1));

    // In the chooser under its brand (a project on it carries the sheet:
    // the catalogue's own tests).
    Choose_Stock(w, "Mine", "2-up", "Mine 2-up CD");
    QTest::mouseClick(Find<QPushButton>(w, "chooserOk"), Qt::LeftButton);
    QVERIFY(g_doc.doc_open);
    QCOMPARE(QString(g_doc.doc_template.label), QString("Mine 2-up CD"));
    QCOMPARE(g_doc.doc_template.nunits, 2u);
    QCOMPARE(g_doc.doc_template.units[2].bbox.top, 158.0f);
    QCOMPARE(g_doc.doc_template.units[1].bbox, (a_frect{46, 20, 164, 138}));
    QVERIFY(Close_Unchanged(w));
}

void a_design_test::ScreenshotsUnderXvfb() {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) QSKIP("Xvfb is not installed");
    QString why;
    QVERIFY2(Shots_Match_Goldens({"gui_designer"}, why), qPrintable(why));
}

// The dialog with the 2-up sheet typed in and one fault left: the second
// section's counts without a size.
int Take_Shots(const QString& dir) {
    a_designer_dialog d(nullptr);
    d.show();
    if (!QTest::qWaitForWindowExposed(&d)) return 3;
    Type_Two_Up(d);
    Step_Menu(Find<QComboBox>(d, "designSection"), 1);
    Step_Menu(Find<QComboBox>(d, "designKind"), UNIT_RECT);
    Type(Field(d, DES_NX), "2");
    Step_Menu(Find<QComboBox>(d, "designSection"), 0);
    QTest::qWait(300);
    if (!d.grab().toImage().save(dir + "/gui_designer.png")) return 4;
    return 0;
}

int Run_Tests(char** argv) {
    a_design_test test;
    return QTest::qExec(&test, 1, argv);
}

}  // namespace

int main(int argc, char** argv) { return Gui_Test_Main(argc, argv, Run_Tests, Take_Shots); }

#include "test_gui_design.moc"
