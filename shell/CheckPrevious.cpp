#include "shell/CheckPrevious.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// How long a refused start tries to reach the holder, which may itself be starting.
constexpr int reachHolderMs = 3000;

QString instanceName(const QString &executablePath)
{
    const QFileInfo info(executablePath);
    const QString path = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(path.toUtf8());
    hash.addData(QByteArray::number(::getuid()));
    return QStringLiteral("vendrix-%1").arg(QString::fromLatin1(hash.result().toHex().left(24)));
}

}  // namespace

CheckPrevious::CheckPrevious(const QString &executablePath, QObject *parent)
    : QObject(parent), m_name(instanceName(executablePath))
{
}

CheckPrevious::~CheckPrevious()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool CheckPrevious::acquire()
{
    if (held())
        return true;
    const QByteArray lockPath = QFile::encodeName(QDir::temp().filePath(m_name + QStringLiteral(".lock")));
    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw Error(QStringLiteral("No se pudo crear %1: %2")
                        .arg(QFile::decodeName(lockPath), QString::fromLocal8Bit(std::strerror(errno)))
                        .toStdString());
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        askHolderToRaise();
        return false;
    }
    m_lockFd = fd;
    listen();
    return true;
}

void CheckPrevious::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A holder that was killed leaves its socket file behind; only the lock holder listens, so
    // whatever is there now is stale.
    QLocalServer::removeServer(m_name);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            emit raiseRequested();
        }
    });
    // Should listening fail, the program still runs alone; a later start just cannot raise it.
    m_server->listen(m_name);
}

void CheckPrevious::askHolderToRaise() const
{
    const QDeadlineTimer deadline(reachHolderMs);
    QLocalSocket socket;
    while (!deadline.hasExpired()) {
        socket.connectToServer(m_name);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(50);
    }
}

void bringToFront(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
