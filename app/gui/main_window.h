// The main window: the menu bar of the phase, the phase bar, the left panel,
// the editing area, the unit list and the status line. It holds no document
// state: it shows g_doc and gs and hands every action to the shell.
#pragma once
#include <QtCore/QStringList>
#include <QtCore/QTimer>
#include <QtWidgets/QMainWindow>

#include <map>

#include "base/notice.h"
#include "shell/cmdline.h"
#include "ui/phase.h"

class QAction;
class QLabel;
class QStackedWidget;
class QToolBar;
class QToolButton;
class a_canvas_panel;
class a_file_dialogs;
class a_history_panel;
class a_layer_bar;
class a_navigator;
class a_ruled_area;
class a_chooser_panel;
class a_preview_view;
class a_photo_panel;
class a_print_panel;
class a_symbol_panel;
class a_collage_panel;
class a_paint_panel;
class a_start_screen;
class a_text_panel;
class a_unit_list;
class a_unit_toggles;
class a_unit_view;

class a_main_window : public QMainWindow {
    Q_OBJECT
public:
    a_main_window();
    ~a_main_window() override;
    // A command line of this copy or of a later one handed over.
    void Run_Shell_Command(const a_shell_command& cmd);
    // The argument list a later copy handed over: run, and the window raised.
    void Take_Forwarded(const QStringList& args);
    // The menu actions, by command number (for tests).
    QAction* Command_Action(int command) const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void Build_Menus();
    QMenu* Build_Menu(int id);
    void Add_Export_Choices(QMenu* menu);
    void Build_Phase_Bar();
    void Phase_Changed(a_phase phase);
    void Template_Chosen(int index);
    void Idle();
    void Action_Done();
    void Refresh_Stale_Pictures();
    void Update_Undo_Items();
    void Refresh_Document();
    void Update_Status();
    void Add_Desktop_Keys();
    void About();
    void Show_Tools();
    // The Options menu's panels and their check marks, from the preferences.
    void Show_Options();
    void Open_Path(const QString& path);

    QStackedWidget* pages_;
    QStackedWidget* panels_;
    a_start_screen* start_;
    a_chooser_panel* chooser_;
    a_unit_view* unit_view_;
    a_ruled_area* unit_area_;
    a_preview_view* preview_;
    a_canvas_panel* canvas_;
    a_print_panel* print_;
    a_text_panel* text_;
    a_photo_panel* photos_;
    a_symbol_panel* symbols_;
    a_collage_panel* collage_;
    a_paint_panel* paint_;
    a_unit_list* units_;
    a_file_dialogs* files_;
    a_unit_toggles* toggles_;
    a_layer_bar* layers_;
    a_navigator* navigator_;
    a_history_panel* history_;
    QWidget* unit_column_;
    bool pictures_stale_ = false;
    int shown_zoom_ = -1;
    QLabel* status_;
    QLabel* coordinates_;
    QLabel* zoom_;
    QToolBar* phase_bar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QToolButton*> phase_buttons_;
    int built_bar_ = 0, built_language_ = -1;
    QTimer idle_;
    QTimer pictures_later_;  // the unit pictures, once typing pauses
    class a_help_window* help_ = nullptr;  // made when help is first asked for
    a_listener_token phase_token_ = 0, finish_token_ = 0, title_token_ = 0, url_token_ = 0, help_token_ = 0;
    a_listener_token end_token_ = 0, dirty_token_ = 0, history_token_ = 0, restored_token_ = 0;
};
