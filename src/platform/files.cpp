#include "platform/files.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>
#include <QtCore/QStandardPaths>

namespace {

std::string g_config_folder;

}  // namespace

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

int64_t File_Size(const std::string& path) {
    QFileInfo info(QString::fromStdString(path));
    return info.exists() ? static_cast<int64_t>(info.size()) : -1;
}

bool File_Remove(const std::string& path) { return QFile::remove(QString::fromStdString(path)); }

bool File_Remove_Tree(const std::string& path) {
    return QDir(QString::fromStdString(path)).removeRecursively();
}

std::string Temp_Folder() { return QDir::tempPath().toStdString(); }

std::string Config_Folder() {
    if (!g_config_folder.empty()) return g_config_folder;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
}

void Config_Folder_Set(const std::string& path) { g_config_folder = path; }

bool Folder_Create(const std::string& path) { return QDir().mkpath(QString::fromStdString(path)); }
