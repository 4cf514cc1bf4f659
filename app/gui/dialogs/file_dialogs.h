// The file dialogs of the file commands: Open with the project's own
// preview picture beside the file list, and Save As proposing a name.
// While it lives it answers the file services' dialog questions, and Save
// at a save-changes question saves through the file commands.
#pragma once
#include <QtCore/QObject>
#include <QtGui/QImage>
#include <QtWidgets/QLabel>

#include <functional>
#include <string>

#include "base/notice.h"

struct PixMap;

// A project's stored preview as an image; a null image when the file has
// none or it is not a 32-bit picture.
QImage Preview_Image(const PixMap& pix);
QImage Project_Preview(const std::string& path);

// The save dialog over `parent`: a path, or empty when cancelled. A name
// typed without a suffix gets `suffix` (no dot) before the dialog's own
// question about replacing an existing file, so that it asks about the file
// that will be written.
QString Ask_Save_Path(QWidget* parent, const QString& title, const QString& proposed, const QString& filter,
                      const QString& suffix);

// The preview box of the open dialog: the selected project's picture,
// fitted; empty for other files.
class a_preview_box : public QLabel {
    Q_OBJECT
public:
    explicit a_preview_box(QWidget* parent = nullptr);
    void Show_Path(const QString& path);
};

class a_file_dialogs : public QObject {
    Q_OBJECT
public:
    explicit a_file_dialogs(QWidget* window);
    ~a_file_dialogs() override;
    // The dialogs themselves; tests put their answers here.
    std::function<QString()> ask_open;
    std::function<QString(const QString& title, const QString& proposed, int16_t format)> ask_save;

private:
    QString Open_Dialog();
    QString Save_Dialog(const QString& title, const QString& proposed, int16_t format);
    QWidget* window_;
    a_listener_token open_token_ = 0, save_token_ = 0, save_doc_token_ = 0;
};
