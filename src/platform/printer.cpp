#include "platform/printer.h"

#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPdfWriter>
#include <QtPrintSupport/QPrinter>
#include <QtPrintSupport/QPrinterInfo>
#include <QtCore/QDir>
#include <QtCore/QTemporaryFile>
#include <QtWidgets/QApplication>
#include <QtPrintSupport/QPrintDialog>

#include <cmath>
#include <memory>

#include "platform/files.h"
#include "platform/region_qt.h"

namespace {

// The PDF writer's bytes go into an atomic save. The writer does not look
// at the results of its writes, so the save keeps the first failure and
// refuses to commit.
class a_save_device final : public QIODevice {
public:
    explicit a_save_device(a_file_save& save) : save_(save) { (void)open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 n) override { return save_.Write(data, size_t(n)) ? n : -1; }

private:
    a_file_save& save_;
};

// A PDF file of the job: written into the save's temporary, named only
// once the whole document is in it.
struct a_pdf_out {
    a_file_save save;
    std::unique_ptr<a_save_device> device;
    std::unique_ptr<QPdfWriter> writer;
};

struct a_vp_state {
    a_vp_job job;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QImage> image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QTemporaryFile> direct_pdf;  // a DiscPainter job before it is sent
    std::unique_ptr<a_pdf_out> pdf;              // a VP_PDF job
    std::string error;                           // why the job failed, when known
    // The last picture blitted with a key: drawing the same QImage again lets
    // the PDF writer refer to the one it already holds.
    uint64_t picture_key = 0;
    QImage picture;
    QPaintDevice* device = nullptr;
    Rect paperbox;
    int pagenum = 0;
    bool aborted = false;
    bool failed = false;
};
a_vp_state g_vp;
std::string g_chosen_queue;

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

bool Near(float a, float b) { return std::fabs(a - b) < 0.5f; }

QPageSize Page_Size(a_fpoint fed) {
    if (Near(fed.x, 210) && Near(fed.y, 297)) return QPageSize(QPageSize::A4);
    if (Near(fed.x, 215.9f) && Near(fed.y, 279.4f)) return QPageSize(QPageSize::Letter);
    return QPageSize(QSizeF(fed.x, fed.y), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

QImage Image_Of(const a_port_bits& bits) {
    return QImage(bits.base, Rect_Width(bits.bounds), Rect_Height(bits.bounds), bits.rowbytes,
                  QImage::Format_RGB32);
}

bool Setup_Printer(QPrinter& p, const a_vp_job& job) {
    p.setResolution(job.dpi);
    p.setDocName(Q(job.target == VP_PDF ? job.title : job.name));
    p.setCreator("Cirquel");
    p.setCopyCount(std::max(1, job.copies));
    if (g_vp.direct_pdf) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(g_vp.direct_pdf->fileName());
        p.setFullPage(true);
    } else {
        QString queue = Q(job.queue.empty() ? g_chosen_queue : job.queue);
        if (!queue.isEmpty()) p.setPrinterName(queue);
        if (!p.isValid() || p.printerName().isEmpty()) return false;
    }
    p.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!p.setPageSize(Page_Size(job.paper_fed))) return false;
    if (p.outputFormat() == QPrinter::PdfFormat) p.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    return true;
}

// A PDF file: the page is the sheet, without margins.
bool Start_Pdf(const a_vp_job& job) {
    g_vp.pdf = std::make_unique<a_pdf_out>();
    a_pdf_out& out = *g_vp.pdf;
    if (!out.save.Open(job.pdf_path)) {
        g_vp.error = out.save.Error();
        return false;
    }
    out.device = std::make_unique<a_save_device>(out.save);
    out.writer = std::make_unique<QPdfWriter>(out.device.get());
    QPdfWriter& w = *out.writer;
    w.setResolution(job.dpi);
    w.setTitle(Q(job.title));
    w.setCreator("Cirquel");
    QPageLayout layout(Page_Size(job.paper_fed), job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    return w.setPageLayout(layout);
}

// The PDF's file named, once all of it is written; false when any of it failed.
bool Finish_Pdf() {
    a_pdf_out& out = *g_vp.pdf;
    bool ok = !g_vp.failed && !g_vp.aborted && out.save.Commit();
    if (!ok && !g_vp.aborted && g_vp.error.empty())
        g_vp.error = out.save.Failed() ? out.save.Error() : g_vp.job.pdf_path + ": the PDF could not be made";
    g_vp.pdf.reset();  // an uncommitted temporary goes with it
    return ok;
}

QPagedPaintDevice* Paged_Device() {
    if (g_vp.printer) return g_vp.printer.get();
    if (g_vp.pdf) return g_vp.pdf->writer.get();
    return nullptr;
}

}  // namespace

bool Is_DiscPainter_Name(const std::string& make_model) {
    return make_model.find("DiscPainter") != std::string::npos;
}

namespace {

// A DiscPainter job: the queue it goes to, its options as the PPD offers
// them (with the copies), and the file it is written to first.
bool Start_Direct_Job(a_vp_job& job) {
    if (job.target != VP_QUEUE || !(job.flags & 1)) return true;
    if (job.queue.empty()) job.queue = DiscPainter_Queue();
    QPrinterInfo info = QPrinterInfo::printerInfo(Q(job.queue));
    if (job.queue.empty() || info.isNull() ||
        !(Is_DiscPainter_Name(info.makeAndModel().toStdString()) || Is_DiscPainter_Name(job.queue))) {
        job.options.clear();
        return true;
    }
    job.options = Cups_Offered_Options(job.queue, job.options);
    job.options.push_back({"copies", std::to_string(std::max(1, job.copies))});
    job.ask = false;
    g_vp.direct_pdf = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/cirquel-job-XXXXXX.pdf");
    return g_vp.direct_pdf->open();
}

}  // namespace

std::vector<a_printer_desc> Printer_List() {
    std::vector<a_printer_desc> out;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        a_printer_desc d;
        d.name = info.printerName().toStdString();
        d.make_model = info.makeAndModel().toStdString();
        d.location = info.location().toStdString();
        d.is_default = info.isDefault();
        d.is_discpainter = Is_DiscPainter_Name(d.make_model) || Is_DiscPainter_Name(d.name);
        out.push_back(d);
    }
    return out;
}

std::string DiscPainter_Queue() {
    for (const a_printer_desc& p : Printer_List())
        if (p.is_discpainter) return p.name;
    return {};
}

bool Is_Printer_Avail() {
    if (!g_chosen_queue.empty()) return !QPrinterInfo::printerInfo(Q(g_chosen_queue)).isNull();
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool Print_Setup(const std::string& queue) {
    if (!queue.empty() && QPrinterInfo::printerInfo(Q(queue)).isNull()) return false;
    g_chosen_queue = queue;
    return true;
}

std::string Printer_Chosen() { return g_chosen_queue; }

a_vp_result VP_Init(const a_vp_job& job) {
    g_vp = a_vp_state{};
    g_vp.job = job;
    if (job.target == VP_IMAGE) return VP_OK;
    if (job.target == VP_PDF) {
        if (Start_Pdf(job)) return VP_OK;
        g_vp.pdf.reset();
        return VP_FAILED;
    }
    if (!Start_Direct_Job(g_vp.job)) return VP_FAILED;
    const std::string& queue = g_vp.job.queue;
    if (job.target == VP_QUEUE && !queue.empty() && QPrinterInfo::printerInfo(Q(queue)).isNull())
        return VP_NO_PRINTER;
    if (job.target == VP_QUEUE && queue.empty() && !Is_Printer_Avail()) return VP_NO_PRINTER;
    g_vp.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!Setup_Printer(*g_vp.printer, g_vp.job)) {
        g_vp.printer.reset();
        return job.target == VP_QUEUE ? VP_NO_PRINTER : VP_FAILED;
    }
    if (g_vp.job.ask && job.target == VP_QUEUE && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QPrintDialog dialog(g_vp.printer.get());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setMinMax(1, 1);
        if (dialog.exec() != QDialog::Accepted) {
            g_vp.printer.reset();
            return VP_CANCELLED;
        }
    }
    return VP_OK;
}

bool VP_OpenDoc() {
    if (g_vp.job.target == VP_IMAGE) {
        const a_fpoint& f = g_vp.job.paper_fed;
        float w = g_vp.job.landscape ? f.y : f.x, h = g_vp.job.landscape ? f.x : f.y;
        int pw = int(std::lround(w * g_vp.job.dpi / 25.4)), ph = int(std::lround(h * g_vp.job.dpi / 25.4));
        if (pw <= 0 || ph <= 0 || pw > 32767 || ph > 32767) return false;
        g_vp.image = std::make_unique<QImage>(pw, ph, QImage::Format_RGB32);
        if (g_vp.image->isNull()) return false;
        g_vp.image->fill(Qt::white);
        int dpm = int(std::lround(g_vp.job.dpi / 0.0254));
        g_vp.image->setDotsPerMeterX(dpm);
        g_vp.image->setDotsPerMeterY(dpm);
        g_vp.device = g_vp.image.get();
    } else {
        g_vp.device = Paged_Device();
        if (!g_vp.device) return false;
    }
    g_vp.painter = std::make_unique<QPainter>();
    if (!g_vp.painter->begin(g_vp.device)) {
        g_vp.painter.reset();
        g_vp.failed = true;
        return false;
    }
    return true;
}

bool VP_OpenPage() {
    if (!g_vp.painter) return false;
    QPagedPaintDevice* paged = Paged_Device();
    if (g_vp.pagenum++ > 0 && paged && !paged->newPage()) return false;
    if (g_vp.pdf) {
        QRect paper = g_vp.pdf->writer->pageLayout().fullRectPixels(g_vp.job.dpi);
        g_vp.paperbox = Rect{0, 0, int16_t(paper.height()), int16_t(paper.width())};
    } else if (g_vp.printer) {
        QRectF paper = g_vp.printer->paperRect(QPrinter::DevicePixel);
        QRectF page = g_vp.printer->pageRect(QPrinter::DevicePixel);
        int left = int(std::lround(page.left() - paper.left())), top = int(std::lround(page.top() - paper.top()));
        int w = int(std::lround(paper.width())), h = int(std::lround(paper.height()));
        g_vp.paperbox = Rect{int16_t(-top), int16_t(-left), int16_t(h - top), int16_t(w - left)};
    } else {
        g_vp.paperbox = Rect{0, 0, int16_t(g_vp.image->height()), int16_t(g_vp.image->width())};
    }
    return true;
}

int VP_Resolution() { return g_vp.job.dpi; }
Rect VP_PaperBox() { return g_vp.paperbox; }

void VP_Blt(const a_region* clip, const Rect& destbox, const a_port_bits& bits, bool photo, uint64_t key) {
    if (!g_vp.painter || bits.depth != 32 || !bits.base || Rect_IsEmpty(destbox)) return;
    QPainter& p = *g_vp.painter;
    p.save();
    if (clip && !clip->r.isEmpty()) p.setClipRegion(clip->r);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::LosslessImageRendering, !photo);
    if (key == 0 || key != g_vp.picture_key || g_vp.picture.constBits() != bits.base) {
        g_vp.picture = Image_Of(bits);
        g_vp.picture_key = key;
    }
    p.drawImage(Rect_ToQ(destbox), g_vp.picture, g_vp.picture.rect());
    p.restore();
}

void VP_Blt_Overlay(const Rect& destbox, const a_port_bits& bits) {
    if (!g_vp.painter || bits.depth != 32 || !bits.base || Rect_IsEmpty(destbox)) return;
    QImage img = Image_Of(bits).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFFFFFF) row[x] = 0;
    }
    QPainter& p = *g_vp.painter;
    p.save();
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.drawImage(Rect_ToQ(destbox), img, img.rect());
    p.restore();
}

void VP_Text(int h, int v, const std::string& utf8, double points, uint32_t rgb, bool centred) {
    if (!g_vp.painter || points <= 0) return;
    QPainter& p = *g_vp.painter;
    p.save();
    QFont font = QGuiApplication::font();
    // Points to dots of this page, whatever the device reports as its own.
    font.setPixelSize(std::max(1, int(std::lround(points * g_vp.job.dpi / 72.0))));
    p.setFont(font);
    p.setPen(QColor(QRgb(0xFF000000u | rgb)));
    QString text = Q(utf8);
    int x = h;
    if (centred) x -= QFontMetrics(font, g_vp.device).horizontalAdvance(text) / 2;
    p.drawText(QPoint(x, v), text);
    p.restore();
}

void VP_ClosePage() {
    // The pixels the picture wraps belong to the page's unit cache.
    g_vp.picture = QImage();
    g_vp.picture_key = 0;
}

void VP_CloseDoc() {
    if (g_vp.painter && g_vp.painter->isActive() && !g_vp.painter->end()) g_vp.failed = true;
    g_vp.painter.reset();
    if (g_vp.pdf && !Finish_Pdf()) g_vp.failed = true;
    if (g_vp.direct_pdf && !g_vp.failed && !g_vp.aborted) {
        std::string error;
        if (!Cups_Print_File(g_vp.job.queue, g_vp.direct_pdf->fileName().toStdString(), g_vp.job.name,
                             g_vp.job.options, error))
            g_vp.failed = true;
    }
}

void VP_Abort() { g_vp.aborted = true; }
bool VP_Stopped() { return g_vp.aborted; }

a_vp_result VP_Stop(int /*flags*/) {
    a_vp_result r = VP_OK;
    if (g_vp.aborted) {
        if (g_vp.printer) g_vp.printer->abort();
        r = VP_CANCELLED;
    } else if (g_vp.failed) {
        r = VP_FAILED;
    }
    if (g_vp.pdf && r == VP_OK) r = VP_FAILED;  // never finished: nothing is named
    if (g_vp.painter && g_vp.painter->isActive()) g_vp.painter->end();
    g_vp.painter.reset();
    g_vp.printer.reset();
    g_vp.pdf.reset();
    g_vp.direct_pdf.reset();
    g_vp.device = nullptr;
    return r;
}

std::string VP_Error() { return g_vp.error; }

bool VP_Page_Image(std::vector<uint32_t>& pixels, int& w, int& h) {
    if (!g_vp.image) return false;
    w = g_vp.image->width();
    h = g_vp.image->height();
    pixels.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(g_vp.image->constScanLine(y));
        std::copy(row, row + w, pixels.begin() + std::ptrdiff_t(y) * w);
    }
    return true;
}
