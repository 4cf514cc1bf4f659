#include "dialogs/file_dialogs.h"

#include <QtCore/QFileInfo>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QGridLayout>

#include "look.h"
#include "model/document.h"
#include "model/notices.h"
#include "persist/disc_read.h"
#include "persist/file_cmds.h"
#include "pixels/pixmap.h"
#include "platform/folders.h"
#include "print/print_doc.h"

namespace {

constexpr int kPreviewBox = 200;

struct a_format_filter {
    int16_t format;
    const char* filter;
    const char* suffix;
};

const a_format_filter kFilters[] = {
    {FMT_CIRQUEL, "Cirquel projects (*.cd4 *.CD4)", ".cd4"},
    {FMT_BMP, "BMP pictures (*.bmp *.BMP)", ".BMP"},
    {FMT_JPEG, "JPEG pictures (*.jpeg *.jpg *.JPEG *.JPG)", ".JPEG"},
    {FMT_TIFF, "TIFF pictures (*.tiff *.tif *.TIFF *.TIF)", ".TIFF"},
    {FMT_PICT, "PICT pictures (*.pict *.PICT)", ".PICT"},
    {FMT_PSD, "Photoshop pictures (*.psd *.PSD)", ".PSD"},
    {FMT_PNG, "PNG pictures (*.png *.PNG)", ".PNG"},
    {FMT_PDF_EXPORT, "PDF documents (*.pdf *.PDF)", ".pdf"},
};

const a_format_filter& Filter_Of(int16_t format) {
    for (const a_format_filter& f : kFilters)
        if (f.format == format) return f;
    return kFilters[0];
}

// The document's own folder once it has been saved, else the documents folder.
QString Start_Folder() {
    if (g_doc.doc_open && !g_doc.doc_new && !g_doc.doc_path.name.empty())
        return QFileInfo(QString::fromStdString(g_doc.doc_path.name)).absolutePath();
    return QString::fromStdString(Documents_Folder());
}

}  // namespace

QString Ask_Save_Path(QWidget* parent, const QString& title, const QString& proposed, const QString& filter,
                      const QString& suffix) {
    QFileDialog dialog(parent, title, proposed, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(QFileInfo(proposed).fileName());
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                 : QString();
}

QImage Preview_Image(const PixMap& pix) {
    if (Is_Null_PixMap(pix) || pix.pixelSize != 32) return {};
    int w = Rect_Width(pix.bounds), h = Rect_Height(pix.bounds);
    int row = pix.rowBytes & ROWBYTES_MASK;
    if (w <= 0 || h <= 0 || row < w * 4) return {};
    QImage view(pix.baseAddr, w, h, row, QImage::Format_RGB32);
    return view.copy();
}

QImage Project_Preview(const std::string& path) {
    PixMap pix;
    bool found = Scan_DISC_Preview(pix, path);
    a_pixmap_owner owned(pix);
    return found ? Preview_Image(*owned) : QImage();
}

a_preview_box::a_preview_box(QWidget* parent) : QLabel(parent) {
    setObjectName("filePreview");
    setFixedSize(kPreviewBox, kPreviewBox);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet("background: palette(base); " + Soft_Text_Style());
    Show_Path({});
}

void a_preview_box::Show_Path(const QString& path) {
    QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) Set_FilePreview_Null();
    else Set_FilePreview_Path(path.toStdString());
    QImage image = Preview_Image(FilePreview());
    if (image.isNull()) {
        setPixmap({});
        setText(info.isFile() ? tr("No preview") : QString());
        return;
    }
    QSize room = size() - QSize(12, 12);
    setPixmap(QPixmap::fromImage(image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

a_file_dialogs::a_file_dialogs(QWidget* window) : QObject(window), window_(window) {
    setObjectName("fileDialogs");
    ask_open = [this] { return Open_Dialog(); };
    ask_save = [this](const QString& title, const QString& proposed, int16_t format) {
        return Save_Dialog(title, proposed, format);
    };
    save_doc_token_ = g_doc_services.save_document.Install(Do_File_Save);
    open_token_ = g_file_services.choose_open.Install([this] {
        return ask_open ? ask_open().toStdString() : std::string();
    });
    save_token_ = g_file_services.choose_save.Install(
        [this](const std::string& title, const std::string& name, int16_t format) {
            if (!ask_save) return std::string();
            QString path = ask_save(QString::fromStdString(title), QString::fromStdString(name), format);
            // The format's suffix when the name was typed without one.
            const char* suffix = Filter_Of(format).suffix;
            if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += suffix;
            return path.toStdString();
        });
}

a_file_dialogs::~a_file_dialogs() {
    g_doc_services.save_document.Remove(save_doc_token_);
    g_file_services.choose_save.Remove(save_token_);
    g_file_services.choose_open.Remove(open_token_);
    Set_FilePreview_Null();
}

// Qt's own dialog (not the desktop's), so that the preview box can sit
// beside its file list.
QString a_file_dialogs::Open_Dialog() {
    QFileDialog dialog(window_, tr("Open Project"), Start_Folder(), tr(Filter_Of(FMT_CIRQUEL).filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* box = new a_preview_box;
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(box, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
    connect(&dialog, &QFileDialog::currentChanged, box, &a_preview_box::Show_Path);
    dialog.resize(860, 480);
    QString chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                         ? dialog.selectedFiles().first()
                         : QString();
    Set_FilePreview_Null();
    return chosen;
}

QString a_file_dialogs::Save_Dialog(const QString& title, const QString& proposed, int16_t format) {
    QString name = proposed.isEmpty() ? tr("Untitled") : proposed;
    const a_format_filter& f = Filter_Of(format);
    return Ask_Save_Path(window_, title, Start_Folder() + "/" + name, tr(f.filter), QString(f.suffix + 1));
}
