#include "instance.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>
#include <QtNetwork/QLocalSocket>

namespace {

// A command line is small; anything larger is not one of ours.
constexpr qint64 kMaxMessage = 64 * 1024;
const char kAck = 'K';

}  // namespace

a_single_instance::a_single_instance(const QString& folder)
    : lock_path_(folder + "/cirquel.lock"), socket_path_(folder + "/cirquel.socket") {}

a_single_instance::~a_single_instance() { server_.close(); }

QString a_single_instance::Default_Folder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}

bool a_single_instance::Claim() {
    QDir().mkpath(QFileInfo(lock_path_).absolutePath());
    lock_ = std::make_unique<QLockFile>(lock_path_);
    lock_->setStaleLockTime(0);  // only a dead owner's lock is stale
    if (!lock_->tryLock(0)) return false;
    // The socket of a copy that died is left behind; ours replaces it.
    QLocalServer::removeServer(socket_path_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_.nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] { Read_Client(s); });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    (void)server_.listen(socket_path_);
    return true;
}

// The message: a 4-byte big-endian length, then the arguments in UTF-8, each
// ended by a NUL byte (no argument holds one).
void a_single_instance::Read_Client(QLocalSocket* s) {
    if (s->bytesAvailable() < 4) return;
    QByteArray head = s->peek(4);
    quint32 n = (quint32(uchar(head[0])) << 24) | (quint32(uchar(head[1])) << 16) |
                (quint32(uchar(head[2])) << 8) | quint32(uchar(head[3]));
    if (n > kMaxMessage) {
        s->abort();
        return;
    }
    if (s->bytesAvailable() < 4 + qint64(n)) return;
    s->read(4);
    QByteArray body = s->read(n);
    QStringList args;
    qsizetype from = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\0') continue;
        args << QString::fromUtf8(body.mid(from, i - from));
        from = i + 1;
    }
    s->write(&kAck, 1);
    s->flush();
    s->disconnectFromServer();
    emit Command_Received(args);
}

bool a_single_instance::Hand_Over(const QStringList& args, int timeout_ms) {
    QLocalSocket s;
    s.connectToServer(socket_path_);
    if (!s.waitForConnected(timeout_ms)) return false;
    QByteArray body;
    for (const QString& a : args) body += a.toUtf8() + '\0';
    if (body.size() > kMaxMessage) return false;
    quint32 n = quint32(body.size());
    char head[4] = {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    s.write(head, 4);
    s.write(body);
    if (!s.waitForBytesWritten(timeout_ms)) return false;
    while (s.bytesAvailable() < 1)
        if (!s.waitForReadyRead(timeout_ms)) return false;
    char ack = 0;
    return s.read(&ack, 1) == 1 && ack == kAck;
}
