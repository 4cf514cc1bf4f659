// The Import menu in the window: the track-list commands ask for their
// files, then hand them to the track import; a Windows Media playlist's
// album art becomes photos; another project is added to
// the open one through the open dialog. While it lives it also shows
// the two questions an import or an opened project may ask: the field
// dialog and the font remapping dialog.
#pragma once
#include <QtCore/QObject>
#include <QtCore/QStringList>

#include <functional>

#include "base/notice.h"

class a_field_dialog_qt;
class a_font_subst_dialog;

// Commands of the Import menu carried out here.
enum : int {
    IMPORT_ITUNES_CMD = 1201,
    IMPORT_TABTEXT_CMD = 1202,
    IMPORT_FILENAMES_CMD = 1203,
    IMPORT_PROJECT_CMD = 1205,
    IMPORT_AUDIO_CMD = 1207,
    IMPORT_LIST_CMD = 1208,
    IMPORT_WPL_CMD = 1209,
};

class a_import_menu : public QObject {
    Q_OBJECT
public:
    explicit a_import_menu(QWidget* window);
    ~a_import_menu() override;
    // The questions themselves; tests answer here instead of modal windows.
    // ask_files gets the command and gives the chosen paths (none: cancelled).
    std::function<QStringList(int command)> ask_files;
    // The dialog is built and shown; true when it was confirmed.
    std::function<bool(a_field_dialog_qt& dialog)> ask_fields;
    std::function<void(a_font_subst_dialog& dialog)> ask_font;

private:
    QStringList Choose_Files(int command);
    void Run(int command);
    void Show_New_Blocks(int before);
    QWidget* window_;
    a_listener_token fields_token_ = 0, font_token_ = 0;
};
