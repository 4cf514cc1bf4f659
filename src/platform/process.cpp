#include "platform/process.h"

#include <QtCore/QDir>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>

bool Program_Run(const std::string& program, const std::vector<std::string>& args, int timeout_ms) {
    QString exe = QStandardPaths::findExecutable(QString::fromStdString(program));
    if (exe.isEmpty()) return false;
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(exe, list);
    if (!p.waitForStarted(timeout_ms)) return false;
    if (!p.waitForFinished(timeout_ms)) {
        p.kill();
        p.waitForFinished(1000);
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

std::string User_Data_Home() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString();
}

std::vector<std::string> Folder_Files(const std::string& folder) {
    std::vector<std::string> out;
    QDir dir(QString::fromStdString(folder));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) out.push_back(name.toStdString());
    return out;
}
