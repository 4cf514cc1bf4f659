// One running copy per user. The first copy holds a lock file in the user's
// runtime folder and listens on a local socket; a later copy hands its
// command line to it (which opens or prints) and ends.
#pragma once
#include <QtCore/QLockFile>
#include <QtCore/QObject>
#include <QtCore/QStringList>
#include <QtNetwork/QLocalServer>

#include <memory>

class a_single_instance : public QObject {
    Q_OBJECT
public:
    // `folder`: where the lock and socket live (the runtime folder).
    explicit a_single_instance(const QString& folder);
    ~a_single_instance() override;
    // True when this copy is the first (and now listens).
    bool Claim();
    // Hands `args` to the first copy; true when it confirmed them.
    bool Hand_Over(const QStringList& args, int timeout_ms = 3000);
    static QString Default_Folder();

signals:
    void Command_Received(const QStringList& args);

private:
    void Read_Client(class QLocalSocket* socket);
    QString lock_path_, socket_path_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};
