#include "import_menu.h"

#include <QtWidgets/QFileDialog>

#include <string>
#include <vector>

#include "base/messages.h"
#include "dialogs/field_dialog_qt.h"
#include "dialogs/font_subst_dialog.h"
#include "model/document.h"
#include "persist/disc_read.h"
#include "persist/file_cmds.h"
#include "platform/sound.h"
#include "shell/commands.h"
#include "shell/mainloop.h"
#include "tracks/audio_tags.h"
#include "tracks/import.h"
#include "tracks/track_sources.h"
#include "tracks/wpl.h"
#include "ui/interface.h"

namespace {

const int kCommands[] = {IMPORT_ITUNES_CMD, IMPORT_TABTEXT_CMD, IMPORT_FILENAMES_CMD, IMPORT_AUDIO_CMD,
                         IMPORT_LIST_CMD, IMPORT_WPL_CMD, IMPORT_PROJECT_CMD};

// The chooser of each command: its title, its filter, one file or many.
struct a_chooser {
    int command;
    const char* title;
    const char* filter;
    bool many;
};

const a_chooser kChoosers[] = {
    {IMPORT_ITUNES_CMD, "Track names from an iTunes export",
     "iTunes exports (*.xml *.txt *.export);;All files (*)", false},
    {IMPORT_TABTEXT_CMD, "Track names from a tab delimited file",
     "Text files (*.txt *.tsv *.export);;All files (*)", false},
    {IMPORT_FILENAMES_CMD, "Choose the file and folder names to import...", "All files (*)", true},
    {IMPORT_AUDIO_CMD, "Track names from audio files",
     "Audio files (*.mp3 *.flac *.ogg *.oga *.opus *.m4a *.mp4 *.aac *.wma *.asf *.wav);;All files (*)", true},
    {IMPORT_LIST_CMD, "Track names from a CUE sheet or playlist",
     "CUE sheets and playlists (*.cue *.m3u *.m3u8 *.xspf);;All files (*)", false},
    {IMPORT_WPL_CMD, "Album art from a Windows Media playlist",
     "Windows Media playlists (*.wpl);;All files (*)", false},
};

const a_chooser& Chooser(int command) {
    for (const a_chooser& c : kChoosers)
        if (c.command == command) return c;
    return kChoosers[0];
}

std::vector<std::string> Paths(const QStringList& files) {
    std::vector<std::string> out;
    for (const QString& f : files) out.push_back(f.toStdString());
    return out;
}

// One CUE sheet or playlist (or any other track list), by its content.
void Import_List(const std::string& path) {
    a_song_table t;
    std::string culprit;
    int alert = Tracks_Read_Paths({path}, t, culprit);
    if (alert) OK_Alert(alert, false);
    else AskFields_Then_Inject(t);
}

}  // namespace

a_import_menu::a_import_menu(QWidget* window) : QObject(window), window_(window) {
    setObjectName("importMenu");
    ask_files = [this](int command) { return Choose_Files(command); };
    ask_fields = [](a_field_dialog_qt& dialog) { return dialog.exec() == QDialog::Accepted; };
    ask_font = [](a_font_subst_dialog& dialog) { (void)dialog.exec(); };
    for (int command : kCommands)
        Command_Install(command, [this, command](const a_command_context&) { Run(command); });
    fields_token_ = g_field_dialog_ui.Install([this](a_field_dialog& d, const a_song_table& t) {
        a_field_dialog_qt dialog(d, t, window_);
        return ask_fields && ask_fields(dialog);
    });
    font_token_ = g_font_subst_dialog.Install([this](const a_font_map_entry& e, const PixMap& sample) {
        a_font_subst_dialog dialog(e, sample, window_);
        if (ask_font) ask_font(dialog);
        return dialog.Chosen();
    });
}

a_import_menu::~a_import_menu() {
    g_font_subst_dialog.Remove(font_token_);
    g_field_dialog_ui.Remove(fields_token_);
    for (int command : kCommands) Command_Remove(command);
}

QStringList a_import_menu::Choose_Files(int command) {
    const a_chooser& c = Chooser(command);
    if (c.many) return QFileDialog::getOpenFileNames(window_, tr(c.title), QString(), tr(c.filter));
    QString one = QFileDialog::getOpenFileName(window_, tr(c.title), QString(), tr(c.filter));
    return one.isEmpty() ? QStringList() : QStringList{one};
}

// The tracks go onto the current unit: without one there is nowhere to put them.
void a_import_menu::Run(int command) {
    if (!g_doc.doc_open || !g_doc.up) {
        Sound_Play(SND_REFUSED);
        return;
    }
    if (command == IMPORT_PROJECT_CMD) {
        (void)Do_Import_Cirquel(std::string());  // the open dialog asks for the project
        return;
    }
    QStringList files = ask_files ? ask_files(command) : QStringList();
    if (files.isEmpty()) return;
    std::vector<std::string> paths = Paths(files);
    const int before = g_doc.up->oj.nlist;
    switch (command) {
        case IMPORT_ITUNES_CMD:
        case IMPORT_TABTEXT_CMD: Do_iTunes(paths[0]); break;
        case IMPORT_FILENAMES_CMD: Action_Import_Filenames(paths); break;
        case IMPORT_AUDIO_CMD: Do_Import_MP3(paths); break;
        case IMPORT_LIST_CMD: Import_List(paths[0]); break;
        case IMPORT_WPL_CMD: Do_Import_WPL(paths[0]); break;
        default: break;
    }
    Show_New_Blocks(before);
}

// The phase that edits what an import placed, so that its selection shows.
void a_import_menu::Show_New_Blocks(int before) {
    if (!g_doc.up || g_doc.up->oj.nlist <= before) return;
    const uint8_t kind = g_doc.up->oj.list[g_doc.up->oj.nlist].kind;
    const a_phase phase = kind == TEXT_BLOCK ? TEXT_PHASE : kind == PHOTO_BLOCK ? PHOTO_PHASE : gs.curr_phase;
    if (phase != gs.curr_phase) Phase_Set(phase);
}
