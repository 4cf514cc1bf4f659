#include "platform/files.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

bool File_ReadAll(const std::string& path, std::vector<uint8_t>& data, std::string* error) {
    data.clear();
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString().toStdString();
        return false;
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString().toStdString();
        return false;
    }
    data.assign(bytes.begin(), bytes.end());
    return true;
}

bool File_SaveAtomic(const std::string& path, const void* data, size_t size, std::string* error) {
    // QSaveFile writes "<name>.XXXXXX" beside the target, fsyncs and renames on commit.
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString().toStdString();
        return false;
    }
    const char* p = static_cast<const char*>(data);
    qint64 left = static_cast<qint64>(size);
    while (left > 0) {
        qint64 n = f.write(p, left);
        if (n <= 0) {
            if (error) *error = f.errorString().toStdString();
            f.cancelWriting();
            return false;
        }
        p += n;
        left -= n;
    }
    if (!f.commit()) {
        if (error) *error = f.errorString().toStdString();
        return false;
    }
    return true;
}

bool File_Exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

bool File_Remove(const std::string& path) { return QFile::remove(QString::fromStdString(path)); }

std::string Temp_Folder() { return QDir::tempPath().toStdString(); }
