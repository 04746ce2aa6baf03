#pragma once

#include <QLockFile>
#include <QObject>

class QLocalServer;

namespace brimtor {

// One running program per user. The first start holds a lock file and listens on a local
// socket beside it, both in the per-user runtime folder; a later start finds the lock taken
// and knocks on the socket instead, so the first one can bring its window to the front.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // True when this is the first start; it then listens for later ones. False means another
    // start runs, and it has been asked to show itself.
    bool Claim();

signals:
    // A later start asked this one to show its window.
    void showRequested();

private:
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};

}  // namespace brimtor
