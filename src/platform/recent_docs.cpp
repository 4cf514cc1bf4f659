#include "platform/recent_docs.h"

#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>
#include <QtCore/QString>
#include <QtCore/QUrl>

#include "platform/files.h"

namespace {

constexpr size_t kMaxListBytes = size_t(16) << 20;
const char kEmptyList[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n</xbel>\n";

// Removes the bookmark element whose href is `href`, if any.
void Remove_Bookmark(QString& list, const QString& href) {
    QString open = "<bookmark href=\"" + href + "\"";
    qsizetype at = list.indexOf(open);
    if (at < 0) return;
    qsizetype end = list.indexOf("</bookmark>", at);
    if (end < 0) return;
    end += qsizetype(sizeof "</bookmark>" - 1);
    while (end < list.size() && list[end] == '\n') ++end;
    list.remove(at, end - at);
}

}  // namespace

std::string Recent_Documents_File() {
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (data + "/recently-used.xbel").toStdString();
}

bool Recent_Document_Add(const std::string& path, const std::string& mime_type) {
    const std::string file = Recent_Documents_File();
    std::vector<uint8_t> bytes;
    QString list = File_Read_Limited(file, kMaxListBytes, bytes) == a_file_read::OK
                       ? QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))
                       : QString(kEmptyList);
    qsizetype close = list.lastIndexOf("</xbel>");
    if (close < 0) return false;  // not a list we understand: leave it alone
    QString abs = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    QString href = QString::fromUtf8(QUrl::fromLocalFile(abs).toEncoded()).toHtmlEscaped();
    Remove_Bookmark(list, href);
    QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    QString entry =
        "  <bookmark href=\"" + href + "\" added=\"" + now + "\" modified=\"" + now + "\" visited=\"" + now +
        "\">\n    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
        "        <mime:mime-type type=\"" + QString::fromStdString(mime_type).toHtmlEscaped() + "\"/>\n"
        "        <bookmark:applications>\n"
        "          <bookmark:application name=\"Cirquel\" exec=\"&apos;cirquel %u&apos;\" modified=\"" + now +
        "\" count=\"1\"/>\n        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
    close = list.lastIndexOf("</xbel>");
    list.insert(close, entry);
    QByteArray out = list.toUtf8();
    QDir().mkpath(QFileInfo(QString::fromStdString(file)).absolutePath());
    // The list names the user's documents: a list made here is theirs alone;
    // one that was there keeps its mode.
    if (!File_Exists(file)) return File_SavePrivate(file, out.constData(), size_t(out.size()));
    return File_SaveAtomic(file, out.constData(), size_t(out.size()));
}
