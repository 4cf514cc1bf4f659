#include "platform/glyphs.h"

#include <QtCore/QSemaphore>
#include <QtCore/QThread>
#include <QtCore/QThreadPool>
#include <QtGui/QFont>
#include <QtGui/QFontMetricsF>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QTransform>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr int kMaxPixelSize = 4000;  // beyond any printed label; bounds the toolkit's work
// Room for antialiasing past the outlines the metrics report.
constexpr double kBoxSlack = 2;

bool Is_High(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool Is_Low(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

QFont Glyph_Font(const a_glyph& g) {
    QFont font(QString::fromStdU16String(g.family));
    font.setPixelSize(std::clamp(g.pixel_size, 1, kMaxPixelSize));
    font.setBold(g.bold);
    font.setItalic(g.italic);
    // Grey coverage only: subpixel colour fringes would differ per channel.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

// Stretch and slant in the glyph's own frame (x along the baseline, y down).
QTransform Shape_Of(const a_glyph& g) {
    const double sx = std::clamp(double(g.hscale), 0.05, 20.0), sy = std::clamp(double(g.vscale), 0.05, 20.0);
    const double kx = std::clamp(double(g.hskew), -2.0, 2.0), ky = std::clamp(double(g.vskew), -2.0, 2.0);
    return QTransform(sx, -ky * sx, -kx * sy, sy, 0, 0);
}

void Paint_Glyphs(const a_port_bits& bits, int w, int h, const a_glyph* glyphs, int count, uint8_t grey) {
    QImage view(bits.base, w, h, bits.rowbytes, QImage::Format_RGB32);
    QPainter painter(&view);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setCompositionMode(QPainter::CompositionMode_Lighten);
    painter.setPen(QColor(grey, grey, grey));
    for (int i = 0; i < count; ++i) {
        const a_glyph& g = glyphs[i];
        painter.save();
        painter.translate(g.x - bits.bounds.left, g.y - bits.bounds.top);
        // Qt turns clockwise on a y-down surface.
        painter.rotate(-g.angle / 10.0);
        painter.setTransform(Shape_Of(g), true);
        painter.setFont(Glyph_Font(g));
        painter.drawText(QPointF(0, 0), QString::fromStdU16String(Glyph_Text(g)));
        painter.restore();
    }
}

// Qt's raster engine hands every fill of more than about a hundred spans to
// its global thread pool and waits for it; for glyphs the handoffs cost more
// than the fills. Painting on a thread of that pool keeps each fill whole,
// for one handoff per call instead of one per glyph.
template <typename F>
void On_Pool_Thread(F&& paint) {
    QThreadPool* pool = QThreadPool::globalInstance();
    if (!pool || pool->contains(QThread::currentThread())) return paint();
    QSemaphore done;
    pool->reserveThread();  // a thread even when the pool is busy
    pool->startOnReservedThread([&] {
        paint();
        done.release();
    });
    done.acquire();
}

}  // namespace

std::u16string Glyph_Text(const a_glyph& g) {
    char16_t a = g.units[0], b = g.units[1];
    if (g.nunits == 2 && Is_High(a) && Is_Low(b)) return std::u16string{a, b};
    if (g.nunits == 1 && !Is_High(a) && !Is_Low(a)) return std::u16string(1, a);
    return std::u16string(1, char16_t(0xFFFD));
}

void Glyphs_Draw(const a_port_bits& bits, const a_glyph* glyphs, int count, uint8_t grey) {
    int w = bits.bounds.right - bits.bounds.left, h = bits.bounds.bottom - bits.bounds.top;
    if (!bits.base || bits.depth != 32 || w <= 0 || h <= 0 || count <= 0 || grey == 0) return;
    // Format_RGB32 keeps the fourth byte as it lies; lighten keeps the greater
    // coverage where glyphs overlap instead of adding it up.
    On_Pool_Thread([&] { Paint_Glyphs(bits, w, h, glyphs, count, grey); });
}

double Glyph_Advance(const a_glyph& g) {
    QFontMetricsF metrics(Glyph_Font(g));
    return metrics.horizontalAdvance(QString::fromStdU16String(Glyph_Text(g)));
}

Rect Glyph_Box(const a_glyph& g) {
    QFontMetricsF metrics(Glyph_Font(g));
    QString text = QString::fromStdU16String(Glyph_Text(g));
    // The ink and the line's cell together: either may be wider.
    QRectF cell(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height());
    QRectF ink = metrics.boundingRect(text).united(metrics.tightBoundingRect(text)).united(cell);
    ink.adjust(-kBoxSlack, -kBoxSlack, kBoxSlack, kBoxSlack);
    QTransform turn;
    turn.translate(g.x, g.y);
    turn.rotate(-g.angle / 10.0);
    QRectF r = (Shape_Of(g) * turn).mapRect(ink);
    auto clip = [](double v) { return int16_t(std::clamp(v, double(INT16_MIN), double(INT16_MAX))); };
    return Rect{clip(std::floor(r.top())), clip(std::floor(r.left())), clip(std::ceil(r.bottom())),
                clip(std::ceil(r.right()))};
}

namespace {

// Whether a thread of the pool is still in the process: one the pool has let
// go may still be running its exit (freeing its memory under the
// allocators' locks) when the pool says it is done.
bool Pool_Thread_Alive() {
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name == "Thread (pooled)") return true;
    }
    return false;
}

}  // namespace

void Drawing_Threads_Release() {
    if (QThreadPool* pool = QThreadPool::globalInstance()) (void)pool->waitForDone();
    for (int waited = 0; waited < 1000 && Pool_Thread_Alive(); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
