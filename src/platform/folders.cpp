#include "platform/folders.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QStandardPaths>

#include <filesystem>

#include "platform/process.h"

std::string Program_Folder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

std::vector<std::string> Installed_Data_Folders(const std::string& app) {
    std::vector<std::string> out;
    const QStringList found =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QString::fromStdString(app),
                                  QStandardPaths::LocateDirectory);
    for (const QString& dir : found) out.push_back(dir.toStdString());
    return out;
}

std::vector<std::string> Removable_Media_Roots() {
    std::vector<std::string> out;
    QFile mounts("/proc/mounts");
    if (!mounts.open(QIODevice::ReadOnly)) return out;
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2) continue;
        // Spaces in mount points are written as \040.
        QString point = QString::fromUtf8(fields[1]).replace("\\040", " ");
        if (point.startsWith("/media/") || point.startsWith("/run/media/"))
            out.push_back(point.toStdString());
    }
    return out;
}

bool Volume_Eject(const std::string& root) {
    if (root.empty()) return false;
    return Program_Run("gio", {"mount", "--eject", root}, 30000) || Program_Run("eject", {root}, 30000);
}

std::string Documents_Folder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
}
