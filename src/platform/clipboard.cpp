#include "platform/clipboard.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtCore/QMimeData>

namespace {

QClipboard* Board() { return qGuiApp ? QGuiApplication::clipboard() : nullptr; }

}  // namespace

bool Clipboard_Put(const std::u16string& text, const std::vector<a_clip_format>& formats) {
    QClipboard* board = Board();
    if (!board) return false;
    auto* data = new QMimeData;
    if (!text.empty()) data->setText(QString::fromUtf16(text.data(), qsizetype(text.size())));
    for (const a_clip_format& f : formats)
        data->setData(QString::fromStdString(f.name),
                      QByteArray(reinterpret_cast<const char*>(f.bytes.data()), qsizetype(f.bytes.size())));
    board->setMimeData(data);  // the clipboard owns it
    return true;
}

bool Clipboard_Clear() {
    QClipboard* board = Board();
    if (!board) return false;
    board->clear();
    return true;
}

std::u16string Clipboard_Text() {
    QClipboard* board = Board();
    if (!board) return {};
    const QString s = board->text();
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size()));
}

bool Clipboard_Get(const std::string& name, size_t max_bytes, std::vector<uint8_t>& bytes) {
    bytes.clear();
    QClipboard* board = Board();
    const QMimeData* data = board ? board->mimeData() : nullptr;
    const QString mime = QString::fromStdString(name);
    if (!data || !data->hasFormat(mime)) return false;
    const QByteArray b = data->data(mime);
    if (size_t(b.size()) > max_bytes) return false;
    bytes.assign(b.begin(), b.end());
    return true;
}
