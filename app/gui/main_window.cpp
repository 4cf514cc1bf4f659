#include "main_window.h"

#include <QtGui/QActionGroup>
#include <QtGui/QCloseEvent>
#include <QtGui/QCursor>
#include <QtGui/QDesktopServices>
#include <QtWidgets/QApplication>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>
#include <memory>

#include "app_icon.h"
#include "panels/canvas_panel.h"
#include "panels/collage_panel.h"
#include "panels/paint_panel.h"
#include "base/messages.h"
#include "base/prefs.h"
#include "panels/chooser_panel.h"
#include "drop_open.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/help_window.h"
#include "dialogs/designer_dialog.h"
#include "widgets/history_panel.h"
#include "import_menu.h"
#include "rulers.h"
#include "widgets/layer_bar.h"
#include "dialogs/layout_dialogs.h"
#include "look.h"
#include "key_events.h"
#include "language.h"
#include "model/document.h"
#include "paint/paint_state.h"
#include "model/notices.h"
#include "text/text_edit.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "base/string_ids.h"
#include "shell/collage_cmds.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "shell/window_pos.h"
#include "model/history.h"
#include "widgets/navigator.h"
#include "persist/file_cmds.h"
#include "print/print_doc.h"
#include "shell/project_services.h"
#include "panels/preview_view.h"
#include "panels/photo_panel.h"
#include "panels/print_panel.h"
#include "panels/start_screen.h"
#include "panels/symbol_panel.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "templates/recent_layouts.h"
#include "dialogs/text_editor_dialog.h"
#include "panels/text_panel.h"
#include "ui/interface.h"
#include "widgets/unit_list.h"
#include "widgets/unit_toggles.h"
#include "unit_view.h"

namespace {

enum a_page { PAGE_START, PAGE_CHOOSER, PAGE_UNIT, PAGE_PREVIEW };
enum a_panel { PANEL_CANVAS, PANEL_PRINT, PANEL_TEXT, PANEL_PHOTO, PANEL_SYMBOL, PANEL_COLLAGE, PANEL_PAINT };

QKeySequence Key_Sequence(const a_shortcut& s) {
    if (s.key == 0) return {};
    int key = s.key >= SHORTCUT_F1 && s.key < SHORTCUT_F1 + 15 ? Qt::Key_F1 + (s.key - SHORTCUT_F1) : s.key;
    int mods = 0;
    if (s.mods & SHORTCUT_CTRL) mods |= Qt::CTRL;
    if (s.mods & SHORTCUT_ALT) mods |= Qt::ALT;
    if (s.mods & SHORTCUT_SHIFT) mods |= Qt::SHIFT;
    return QKeySequence(key | mods);
}

struct a_phase_button {
    a_phase phase;
    const char* text;
    const char* tip;
    const char* missing;  // why it is disabled; nullptr when built
};

const a_phase_button kPhaseButtons[] = {
    {PAPER_PHASE, "Layout", "Choose the label stock you will print on.", nullptr},
    {CANVAS_PHASE, "Background", "Give the label a background picture or a solid color", nullptr},
    {PHOTO_PHASE, "Photos", "Put your own pictures on the label", nullptr},
    {SYMBOL_PHASE, "Clip art", "Add symbols and stamps from the clip art collection", nullptr},
    {TEXT_PHASE, "Text", "Write titles and track lists on the label", nullptr},
    {PAINT_PHASE, "Paint", "Paint on the label with brushes, shapes and fills", nullptr},
    {COLLAGE_PHASE, "Collage", "Fill the label with a pattern of photos", nullptr},
    {PREVIEW_PHASE, "Print", "See the whole sheet, align it and print it", nullptr},
};

// The phases that show a panel at the left.
bool Has_Panel(a_phase phase) {
    switch (phase) {
        case CANVAS_PHASE:
        case PHOTO_PHASE:
        case SYMBOL_PHASE:
        case TEXT_PHASE:
        case COLLAGE_PHASE:
        case PAINT_PHASE:
        case PREVIEW_PHASE: return true;
        default: return false;
    }
}

QScrollArea* Panel_Scroller(QWidget* panel) {
    auto* s = new QScrollArea;
    s->setWidget(panel);
    s->setWidgetResizable(true);
    s->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    s->setFrameShape(QFrame::NoFrame);
    return s;
}

}  // namespace

a_main_window::a_main_window() {
    setObjectName("mainWindow");
    setWindowIcon(App_Icon());
    setMinimumSize(MIN_WINDOW_WIDTH, MIN_WINDOW_HEIGHT);
    setMaximumSize(MAX_WINDOW_SIZE, MAX_WINDOW_SIZE);

    start_ = new a_start_screen;
    chooser_ = new a_chooser_panel;
    unit_view_ = new a_unit_view;
    unit_area_ = new a_ruled_area(unit_view_);
    preview_ = new a_preview_view;
    pages_ = new QStackedWidget;
    pages_->addWidget(start_);
    pages_->addWidget(chooser_);
    pages_->addWidget(unit_area_);
    pages_->addWidget(preview_);
    units_ = new a_unit_list;
    canvas_ = new a_canvas_panel;
    print_ = new a_print_panel;
    text_ = new a_text_panel;
    panels_ = new QStackedWidget;
    panels_->setObjectName("leftPanel");
    panels_->setFixedWidth(236);
    panels_->setStyleSheet(QString("#leftPanel { background: %1; border-right: 1px solid %2; }")
                               .arg(Panel_Colour().name(), Border_Colour().name()));
    panels_->addWidget(Panel_Scroller(canvas_));
    panels_->addWidget(Panel_Scroller(print_));
    panels_->addWidget(Panel_Scroller(text_));
    photos_ = new a_photo_panel;
    symbols_ = new a_symbol_panel;
    panels_->addWidget(Panel_Scroller(photos_));
    panels_->addWidget(Panel_Scroller(symbols_));
    photos_->Accept_Drops_On(unit_view_->viewport());
    collage_ = new a_collage_panel;
    panels_->addWidget(Panel_Scroller(collage_));
    collage_->Accept_Drops_On(unit_view_->viewport());  // after the photos': it sees a drop first
    connect(collage_, &a_collage_panel::boundsChanged, this, [this] { unit_view_->Refresh(); });
    paint_ = new a_paint_panel;
    panels_->addWidget(Panel_Scroller(paint_));
    connect(unit_view_, &a_unit_view::paintToolChosen, paint_, &a_paint_panel::Refresh);
    // Wide enough for the widest panel in this language: longer words
    // (German, Finnish, Hungarian) widen the column instead of being clipped.
    int panel_width = panels_->minimumWidth();
    for (QWidget* p : {static_cast<QWidget*>(canvas_), static_cast<QWidget*>(print_), static_cast<QWidget*>(text_),
                       static_cast<QWidget*>(photos_), static_cast<QWidget*>(symbols_),
                       static_cast<QWidget*>(collage_), static_cast<QWidget*>(paint_)})
        panel_width = std::max(panel_width, p->minimumSizeHint().width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    panels_->setFixedWidth(panel_width);
    auto* centre = new QWidget;
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(panels_);
    row->addWidget(pages_, 1);
    // The unit list with the current unit's clone and print toggles under it.
    toggles_ = new a_unit_toggles;
    unit_column_ = new QWidget;
    auto* unit_column = new QVBoxLayout(unit_column_);
    unit_column->setContentsMargins(0, 0, 0, 0);
    unit_column->setSpacing(0);
    unit_column->addWidget(units_, 1);
    unit_column->addWidget(toggles_);
    // The overview of the current unit: its blocks, then the undo steps.
    layers_ = new a_layer_bar;
    history_ = new a_history_panel;
    // 132 pixels, or what the clone and print toggles need in this language.
    const int column_width = std::max(132, toggles_->minimumSizeHint().width());
    toggles_->setFixedWidth(column_width);
    layers_->setFixedWidth(column_width);
    history_->setFixedWidth(column_width);
    layers_->setMinimumHeight(120);
    history_->setMinimumHeight(100);
    navigator_ = new a_navigator(unit_view_);
    navigator_->setFixedWidth(column_width);
    unit_column->addWidget(layers_, 1);
    unit_column->addWidget(navigator_);
    unit_column->addWidget(history_, 1);
    row->addWidget(unit_column_);
    setCentralWidget(centre);
    status_ = new QLabel;
    statusBar()->addWidget(status_, 1);
    coordinates_ = new QLabel;
    coordinates_->setObjectName("coordinates");
    coordinates_->setMinimumWidth(190);
    statusBar()->addPermanentWidget(coordinates_);
    connect(unit_area_, &a_ruled_area::coordinatesChanged, coordinates_, &QLabel::setText);

    zoom_ = new QLabel;
    zoom_->setObjectName("zoomLabel");
    statusBar()->addPermanentWidget(zoom_);
    Add_Desktop_Keys();
    Build_Phase_Bar();
    connect(start_, &a_start_screen::New_Project, this, [this] {
        Do_Menu_Event(false, false, 1, MENU_FILE);
    });
    // Files: the dialogs, the start screen's open and recent projects, drops.
    files_ = new a_file_dialogs(this);
    new a_layout_dialogs(this);
    new a_import_menu(this);
    connect(start_, &a_start_screen::Open_Project, this, [] { Do_Menu_Event(false, false, 2, MENU_FILE); });
    connect(start_, &a_start_screen::Open_Recent, this, &a_main_window::Open_Path);
    new a_drop_opener(this, [this](const QString& path) { Open_Path(path); });
    connect(toggles_, &a_unit_toggles::Unit_Changed, this, [this] {
        unit_view_->Refresh();
        canvas_->Refresh();
    });
    connect(unit_view_, &a_unit_view::textBlockActivated, this,
            [this](int ux, int objid) { a_text_editor_dialog::Edit_Block(this, ux, objid); });
    connect(chooser_, &a_chooser_panel::Chosen, this, &a_main_window::Template_Chosen);
    connect(chooser_, &a_chooser_panel::Cancelled, this, [this] {
        Phase_Set(g_doc.doc_open ? CANVAS_PHASE : NODOC_PHASE);
    });
    connect(units_, &QListWidget::currentRowChanged, this, [this](int r) {
        if (!g_doc.doc_open || r < 0 || uint32_t(r) >= g_doc.doc_template.nunits) return;
        Interaction_Begin();
        Collage_Finish();
        Select_Doc_Unit(uint32_t(r) + 1);
        Interaction_End();
        toggles_->Refresh();
        unit_view_->Refresh();
        canvas_->Refresh();
        preview_->update();
    });

    phase_token_ = g_shell_notices.phase.Subscribe([this](a_phase p) { Phase_Changed(p); });
    // The quit command agreed: the window closes once the action is over.
    finish_token_ = g_shell_notices.finish.Subscribe([this] {
        if (g_doneflag) QTimer::singleShot(0, this, [this] { close(); });
        Show_Tools();
    });
    title_token_ = g_doc_notices.title.Subscribe([this](const std::string&) { Refresh_Document(); });
    // After every action: the changed area of the unit composed and shown,
    // then the pictures of the unit list and the preview.
    end_token_ = g_shell_notices.interaction_end.Subscribe([this] { Action_Done(); });
    dirty_token_ = g_doc_notices.unit_dirty.Subscribe([this](uint32_t, const Rect&) { pictures_stale_ = true; });
    history_token_ = g_doc_notices.history.Subscribe([this] { Update_Undo_Items(); });
    restored_token_ = g_doc_notices.restored.Subscribe([this] {
        unit_view_->Refresh();
        canvas_->Refresh();
    });
    Command_Install(MENU_FILE + 9, [](const a_command_context&) {
        if (g_doc.doc_open) a_print_panel::Print_With_Dialog();
    });
    Command_Install(MENU_FILE + 8, [this](const a_command_context&) { a_print_panel::Choose_Printer(this); });
    Command_Install(MENU_HELP + 6, [this](const a_command_context&) { Run_Designer(this); });
    url_token_ = g_open_url.Install([](const std::string& url) {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    });
    help_token_ = g_show_help_page.Install([this](const std::string& path) {
        if (!help_) help_ = new a_help_window(this);
        return help_->Show_Page(QString::fromStdString(path));
    });
    // The history panel; the coordinates go with the rulers, which have no
    // command of their own.
    Command_Install(MENU_OPTIONS + 1, [this](const a_command_context&) {
        g_pref.history_option = !g_pref.history_option;
        Show_Options();
    });
    Command_Install(MENU_OPTIONS + 2, [this](const a_command_context&) {
        g_pref.status_option = g_pref.ruler_option = !g_pref.status_option;
        Show_Options();
    });
    // Show All Frames: the unit view draws them when the action is done.
    Command_Install(MENU_OPTIONS + 3, [](const a_command_context&) {
        g_pref.showframes_option = !g_pref.showframes_option;
    });
    for (int about : {MENU_SYSTEM + 1, MENU_HELP + 8})
        Command_Install(about, [this](const a_command_context&) { About(); });
    connect(&idle_, &QTimer::timeout, this, &a_main_window::Idle);
    pictures_later_.setSingleShot(true);
    pictures_later_.setInterval(400);
    connect(&pictures_later_, &QTimer::timeout, this, &a_main_window::Refresh_Stale_Pictures);
    idle_.start(Idle_Interval_Ms());

    Phase_Changed(gs.curr_phase);
}

a_main_window::~a_main_window() {
    g_open_url.Remove(url_token_);
    g_show_help_page.Remove(help_token_);
    Command_Remove(MENU_SYSTEM + 1);
    Command_Remove(MENU_FILE + 8);
    Command_Remove(MENU_HELP + 6);
    Command_Remove(MENU_OPTIONS + 1);
    Command_Remove(MENU_OPTIONS + 2);
    Command_Remove(MENU_OPTIONS + 3);
    Command_Remove(MENU_FILE + 9);
    g_shell_notices.interaction_end.Unsubscribe(end_token_);
    g_doc_notices.unit_dirty.Unsubscribe(dirty_token_);
    g_doc_notices.history.Unsubscribe(history_token_);
    g_doc_notices.restored.Unsubscribe(restored_token_);
    Command_Remove(MENU_HELP + 8);
    g_shell_notices.phase.Unsubscribe(phase_token_);
    g_shell_notices.finish.Unsubscribe(finish_token_);
    g_doc_notices.title.Unsubscribe(title_token_);
}

QAction* a_main_window::Command_Action(int command) const {
    auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

namespace {

// The first letter or digit of `text` that no earlier menu of the bar took
// becomes its Alt key, so every language's bar has them.
QString With_Mnemonic(const QString& text, QString& used) {
    QString t = text;
    t.replace('&', "&&");
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i].toLower();
        if (!c.isLetterOrNumber() || used.contains(c)) continue;
        used += c;
        t.insert(i, '&');
        break;
    }
    return t;
}

}  // namespace

QMenu* a_main_window::Build_Menu(int id) {
    a_menu m;
    if (!Menu_Load(id, Messages_Language(), m)) return nullptr;
    auto* menu = new QMenu(QString::fromStdString(m.title), this);
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::aboutToShow, [] { Sound_Play(SND_MENU); });
    for (const a_menu_item& item : m.items) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        if (item.submenu) {
            if (QMenu* sub = Build_Menu(item.submenu)) {
                sub->setTitle(QString::fromStdString(item.text));
                menu->addMenu(sub);
            }
            continue;
        }
        QAction* a = menu->addAction(QString::fromStdString(item.text));
        a->setData(QString::fromStdString(item.text));  // the text as the menu has it
        a->setShortcut(Key_Sequence(item.key));
        a->setShortcutContext(Qt::WindowShortcut);
        bool available = Command_Available(item.command);
        a->setEnabled(available);
        a->setToolTip(available ? QString() : QString::fromStdString(Command_Missing(item.command)));
        int command = item.command;
        connect(a, &QAction::triggered, this, [command] {
            Qt::KeyboardModifiers m = QApplication::keyboardModifiers();
            Do_Menu_Event(m & Qt::ControlModifier, m & Qt::ShiftModifier, Menu_Item(command),
                          Menu_Category(command));
        });
        actions_[command] = a;
        addAction(a);  // its shortcut works while the menu is closed
    }
    if (id == MENU_EXPORT) Add_Export_Choices(menu);
    return menu;
}

// Besides the menu's own formats: PNG, PDF, and the resolution every export of
// a unit is rendered at.
void a_main_window::Add_Export_Choices(QMenu* menu) {
    menu->addSeparator();
    QAction* png = menu->addAction(tr("As PNG…"));
    png->setObjectName("exportPng");
    connect(png, &QAction::triggered, this, [] {
        if (!g_doc.doc_open) return;
        Interaction_Begin();
        Export_Project(FMT_PNG);
        Interaction_End();
    });
    QAction* pdf = menu->addAction(tr("As PDF…"));
    pdf->setObjectName("exportPdf");
    connect(pdf, &QAction::triggered, this, [] {
        if (!g_doc.doc_open) return;
        Interaction_Begin();
        Export_Project_PDF();
        Interaction_End();
    });
    QMenu* resolution = menu->addMenu(tr("Resolution"));
    auto* group = new QActionGroup(resolution);
    for (int dpi : EXPORT_DPIS) {
        QAction* a = resolution->addAction(tr("%1 dpi").arg(dpi));
        a->setObjectName(QString("exportDpi%1").arg(dpi));
        a->setCheckable(true);
        a->setChecked(dpi == g_export_dpi);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [dpi] { g_export_dpi = dpi; });
    }
}

void a_main_window::Build_Menus() {
    int bar = Phase_MenuBar(gs.curr_phase, gs.menu_base);
    if (bar == built_bar_ && Messages_Language() == built_language_) return;
    a_menu_bar b;
    if (!MenuBar_Load(bar, Messages_Language(), b)) return;
    for (auto& [command, a] : actions_) removeAction(a);
    actions_.clear();
    menuBar()->clear();
    QString used;
    for (const a_menu& m : b.menus) {
        if (QMenu* menu = Build_Menu(m.id)) {
            menu->setTitle(With_Mnemonic(menu->title(), used));
            if (m.id == MENU_OPTIONS) Add_Language_Menu(menu, this);
            menuBar()->addMenu(menu);
        }
    }
    built_bar_ = bar;
    built_language_ = Messages_Language();
    Show_Options();
}

void a_main_window::Build_Phase_Bar() {
    auto* bar = phase_bar_ = new QToolBar(tr("Phases"));
    bar->setObjectName("phaseBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setStyleSheet("QToolBar { spacing: 4px; padding: 4px; } "
                       "QToolButton { padding: 6px 14px; font-size: 10.5pt; } "
                       "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text); "
                       "border-radius: 4px; }");
    auto* group = new QButtonGroup(this);
    for (const a_phase_button& p : kPhaseButtons) {
        auto* b = new QToolButton;
        b->setObjectName(QString("phase%1").arg(int(p.phase)));
        b->setText(tr(p.text));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setEnabled(p.missing == nullptr);
        b->setToolTip(tr(p.missing ? p.missing : p.tip));
        group->addButton(b);
        bar->addWidget(b);
        a_phase phase = p.phase;
        connect(b, &QToolButton::clicked, this, [this, phase] {
            // With a project open, Layout moves it to another stock.
            if (phase == PAPER_PHASE && g_doc.doc_open) {
                Do_Menu_Event(false, false, 1, MENU_EXPORT);
                auto shown = phase_buttons_.find(gs.curr_phase);
                if (shown != phase_buttons_.end()) shown->second->setChecked(true);
                return;
            }
            Interaction_Begin();
            if (phase == COLLAGE_PHASE) {
                if (!Collage_New()) phase_buttons_[gs.curr_phase]->setChecked(true);
            } else {
                Collage_Leave_For(phase);
            }
            Interaction_End();
        });
        phase_buttons_[phase] = b;
    }
    addToolBar(Qt::TopToolBarArea, bar);
}

void a_main_window::Phase_Changed(a_phase phase) {
    Build_Menus();
    if (QAction* help = Command_Action(MENU_HELP + 2)) {
        std::string topic = Help_Topic_Name(Help_Folders(), Messages_Language(), Help_Topic(phase));
        help->setText(QString::fromStdString(Help_Menu_Text(help->data().toString().toStdString(), topic)));
    }
    bool doc = g_doc.doc_open;
    for (const a_phase_button& p : kPhaseButtons) {
        QToolButton* b = phase_buttons_[p.phase];
        b->setEnabled(p.missing == nullptr && (doc || p.phase == PAPER_PHASE));
        b->setChecked(p.phase == phase);
    }
    phase_buttons_[PAPER_PHASE]->setToolTip(doc ? tr("Move the project to another label stock")
                                                : tr("Choose the label stock you will print on."));
    if (phase == PAPER_PHASE) {
        chooser_->Reload();
        pages_->setCurrentIndex(PAGE_CHOOSER);
    } else if (doc && phase == PREVIEW_PHASE) {
        pages_->setCurrentIndex(PAGE_PREVIEW);
        panels_->setCurrentIndex(PANEL_PRINT);
        print_->Refresh();
    } else if (doc) {
        pages_->setCurrentIndex(PAGE_UNIT);
        panels_->setCurrentIndex(phase == PHOTO_PHASE    ? PANEL_PHOTO
                                 : phase == SYMBOL_PHASE ? PANEL_SYMBOL
                                 : phase == TEXT_PHASE   ? PANEL_TEXT
                                 : phase == COLLAGE_PHASE ? PANEL_COLLAGE
                                 : phase == PAINT_PHASE   ? PANEL_PAINT
                                                         : PANEL_CANVAS);
    } else {
        start_->Refresh_Recent();
        pages_->setCurrentIndex(PAGE_START);
    }
    panels_->setVisible(gs.tool_show && doc && Has_Panel(phase));
    unit_column_->setVisible(gs.tool_show && doc && phase != PAPER_PHASE);
    layers_->setVisible(phase != PREVIEW_PHASE);  // printing has no blocks to pick
    navigator_->setVisible(phase != PREVIEW_PHASE);
    Refresh_Document();
    if (doc && phase == CANVAS_PHASE) {
        canvas_->Refresh();
        unit_view_->Refresh();
    }
    if (doc && phase == TEXT_PHASE) {
        text_->Refresh();
        unit_view_->Refresh();
    }
    if (doc && phase == PHOTO_PHASE) photos_->Refresh();
    if (doc && phase == SYMBOL_PHASE) symbols_->Refresh();
    if (doc && phase == PAINT_PHASE) {
        paint_->Refresh();
        unit_view_->Refresh();
    }
    collage_->Refresh();  // also when a collage has just ended: the label's size is its own again
}

void a_main_window::Template_Chosen(int index) {
    Interaction_Begin();
    auto t = std::make_unique<a_template>();
    Expand_Template(TList_Get(index), *t);
    RecentLay_Add(Label_Text(t->label));
    Doc_New(*t);
    Phase_Set(CANVAS_PHASE);
    Interaction_End();
}

void a_main_window::Refresh_Document() {
    std::string name = g_doc.doc_open ? Doc_Name() : std::string();
    setWindowTitle(name.empty() ? tr("Cirquel") : QString::fromStdString(name) + tr("[*] — Cirquel"));
    setWindowModified(g_doc.doc_open && g_doc.doc_changed);
    units_->Refresh();
    toggles_->Refresh();
    preview_->update();
    Update_Undo_Items();
    Update_Status();
}

void a_main_window::Action_Done() {
    unit_view_->Bring_Up_To_Date();
    if (gs.curr_phase == PAINT_PHASE) {
        unit_view_->Show_Selection();
        // A paste chooses the Copy / Move tool.
        if (QToolButton* b = paint_->Tool_Button(g_paint.tool); b && !b->isChecked()) paint_->Refresh();
    }
    setWindowModified(g_doc.doc_open && g_doc.doc_changed);
    Show_Options();
    if (gs.grid_vals[ZOOM_GRID] != shown_zoom_) {
        shown_zoom_ = gs.grid_vals[ZOOM_GRID];
        unit_view_->Refresh_Zoom();
        Update_Status();
    }
    // Each picture of the unit list is the unit printed again: while letters
    // are typed that waits for a pause, so that a key costs only its own frame.
    if (pictures_stale_ && Edited_OM())
        pictures_later_.start();
    else
        Refresh_Stale_Pictures();
    Update_Undo_Items();
}

void a_main_window::Refresh_Stale_Pictures() {
    if (!pictures_stale_) return;
    pictures_stale_ = false;
    units_->Refresh_Pictures();
    toggles_->Refresh();
    preview_->update();
}

void a_main_window::Update_Undo_Items() {
    QAction* undo = Command_Action(MENU_EDIT + 1);
    QAction* redo = Command_Action(MENU_EDIT + 2);
    if (!undo || !redo) return;
    a_undo_menu_items m = Undo_Menu_Items();
    undo->setText(QString::fromStdString(m.undo_text));
    redo->setText(QString::fromStdString(m.redo_text));
    undo->setEnabled(m.undo_enabled);
    redo->setEnabled(m.redo_enabled);
    undo->setToolTip({});
    redo->setToolTip({});
}

void a_main_window::Show_Options() {
    history_->setVisible(g_pref.history_option);
    unit_area_->Show_Rulers(g_pref.ruler_option);
    coordinates_->setVisible(g_pref.status_option);
    for (auto [command, on] : {std::pair{MENU_OPTIONS + 1, g_pref.history_option},
                               std::pair{MENU_OPTIONS + 2, g_pref.status_option},
                               std::pair{MENU_OPTIONS + 3, g_pref.showframes_option},
                               std::pair{MENU_OPTIONS + 5, g_pref.sound_option},
                               std::pair{MENU_OPTIONS + 6, g_pref.embed_option}}) {
        if (QAction* a = Command_Action(command)) {
            a->setCheckable(true);
            a->setChecked(on);
        }
    }
}

// The keys every desktop program knows, beside the menus' own: Ctrl with
// plus or minus zooms one step, Ctrl+0 fits, Ctrl+1 shows 100 %; Ctrl+Shift+Z
// redoes and Ctrl+Shift+S saves as.
void a_main_window::Add_Desktop_Keys() {
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), MENU_ZOOM + 1}, {QKeySequence(Qt::CTRL | Qt::Key_Equal), MENU_ZOOM + 1},
        {QKeySequence(Qt::CTRL | Qt::Key_Minus), MENU_ZOOM + 2}, {QKeySequence(Qt::CTRL | Qt::Key_0), MENU_ZOOM + 4},
        {QKeySequence(Qt::CTRL | Qt::Key_1), MENU_ZOOM + 5},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), MENU_EDIT + 2},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), MENU_FILE + 5},
    };
    for (const auto& [key, command] : keys) {
        auto* a = new QAction(this);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, command = command] {
            if (Menu_Category(command) == MENU_ZOOM && !(g_doc.doc_open && unit_view_->isVisible())) return;
            Do_Menu_Event(false, false, Menu_Item(command), Menu_Category(command));
        });
        addAction(a);
    }
}

void a_main_window::Update_Status() {
    const bool zooming = g_doc.doc_open && unit_view_->isVisible();
    zoom_->setVisible(zooming);
    if (zooming)
        zoom_->setText(gs.grid_vals[ZOOM_GRID] == 0 ? tr("Zoom: fit (%1 %)").arg(unit_view_->Zoom_Percent())
                                                    : tr("Zoom: %1 %").arg(unit_view_->Zoom_Percent()));
    if (!g_doc.doc_open) {
        status_->setText(gs.curr_phase == PAPER_PHASE ? tr("Choose the label stock you will print on.")
                                                      : tr("Start a new project."));
        return;
    }
    const a_template& t = g_doc.doc_template;
    QString count = t.nunits == 1 ? tr("1 label") : tr("%1 labels").arg(t.nunits);
    status_->setText(tr("%1 — %2").arg(QString::fromStdU16String(
        Filter_Template_Name(Label_Text(t.label))), count));
}

void a_main_window::Take_Forwarded(const QStringList& args) {
    std::vector<std::string> list;
    for (const QString& a : args) list.push_back(a.toStdString());
    Run_Shell_Command(Parse_Shell_Args(list));
    raise();
    activateWindow();
}

void a_main_window::Run_Shell_Command(const a_shell_command& cmd) {
    Tell_Shell_Messages(cmd);
    if (cmd.action == a_shell_action::OPEN) {
        Open_Path(QString::fromStdString(cmd.path));
    } else if (cmd.action == a_shell_action::PRINT) {
        Interaction_Begin();
        Do_File_Print(cmd.path);
        Interaction_End();
    }
}

void a_main_window::Open_Path(const QString& path) {
    Interaction_Begin();
    Open_Project_Command(path.toStdString());
    Interaction_End();
}

void a_main_window::closeEvent(QCloseEvent* e) {
    if (!g_doneflag) {
        Interaction_Begin();
        Quit_Command();
        Interaction_End();
    }
    if (g_doneflag) {
        idle_.stop();
        e->accept();
    } else {
        e->ignore();
    }
}

void a_main_window::keyPressEvent(QKeyEvent* e) {
    a_key_input in;
    if (!Key_Input_From(*e, in)) return QMainWindow::keyPressEvent(e);
    a_key_result r = Translate_Key(in);
    Idle_Interrupted();
    if (r.kind == a_key_result::COMMAND) {
        Do_Menu_Event(false, false, Menu_Item(r.command), Menu_Category(r.command));
    } else if (r.kind == a_key_result::KEY) {
        Interaction_Begin();
        DoKeyDown(r.key);
        Interaction_End();
    } else {
        QMainWindow::keyPressEvent(e);
    }
}

void a_main_window::mousePressEvent(QMouseEvent* e) {
    Idle_Interrupted();
    QMainWindow::mousePressEvent(e);
}

void a_main_window::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange) {
        gs.mytask = isActiveWindow();
        idle_.setInterval(Idle_Interval_Ms());
    }
    QMainWindow::changeEvent(e);
}

// "Hide Everything" leaves the editing area alone; Escape brings the rest back.
void a_main_window::Show_Tools() {
    bool show = gs.tool_show;
    if (phase_bar_->isVisibleTo(this) == show) return;
    phase_bar_->setVisible(show);
    menuBar()->setVisible(show);
    statusBar()->setVisible(show);
    unit_column_->setVisible(show && g_doc.doc_open && gs.curr_phase != PAPER_PHASE);
    panels_->setVisible(show && g_doc.doc_open && Has_Panel(gs.curr_phase));
}

void a_main_window::About() {
    std::string web;
    Get_Lang_String(7, IDENTITY_STR_ID, 0, web);
    QMessageBox box(this);
    box.setWindowTitle(tr("About Cirquel"));
    box.setIconPixmap(App_Icon_Pixmap(64));
    box.setText(tr("<b>Cirquel</b> %1<br>Labels for CDs, DVDs and their cases.<br><a href=\"%2\">%2</a>")
                    .arg(QCoreApplication::applicationVersion(), QString::fromStdString(web)));
    box.exec();
}

void a_main_window::Idle() {
    QPoint g = QCursor::pos();
    QPoint l = mapFromGlobal(g);
    Do_Idle(Point{int16_t(g.y()), int16_t(g.x())}, Point{int16_t(l.y()), int16_t(l.x())}, 0);
}
