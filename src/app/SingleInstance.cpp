#include "SingleInstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <algorithm>

#include <sys/socket.h>
#include <unistd.h>

namespace app {
namespace {

constexpr int kWaitMs = 1000;
// A path is at most a few kilobytes; a request longer than this is no request of ours.
constexpr qint64 kLongestRequest = 64 * 1024;

// Paths hold no line ends the program would open; a tab parts the two.
QByteArray encoded(const HandOver &request)
{
    return (request.applicantFile + QLatin1Char('\t') + request.applicantsFolder).toUtf8() + '\n';
}

HandOver decoded(const QString &line)
{
    return {line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1)};
}

// Whether the process at the other end of the connection runs as this user.
bool ownedByThisUser(const QLocalSocket &socket)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::geteuid();
}

} // namespace

SingleInstance::SingleInstance(const QString &storePath) : m_name(serverName(storePath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName(const QString &storePath)
{
    const QByteArray where = QGuiApplication::platformName().toUtf8() + '\n' + qgetenv("WAYLAND_DISPLAY") + '\n'
        + qgetenv("DISPLAY") + '\n' + QFileInfo(storePath).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(where, QCryptographicHash::Sha256).toHex().left(20);
    return QStringLiteral("tenvoria-%1-%2").arg(::geteuid()).arg(QString::fromLatin1(hash));
}

SingleInstance::Outcome SingleInstance::handOver(const HandOver &request, const std::function<void()> &waiting)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kWaitMs))
        return Outcome::NoneRunning;
    // A socket of that name that another user made (the temporary folder is shared) is no copy of
    // ours: it learns nothing, and cannot hold this start back.
    if (!ownedByThisUser(socket))
        return Outcome::NoneRunning;
    // From here a copy is alive on this store (the system takes connections for a stopped or busy
    // one too): running beside it would mix two applicants into one record, so this start waits.
    QElapsedTimer waited;
    waited.start();
    bool toldWaiting = false;
    const auto remaining = [&] {
        const qint64 left = kPatienceMs - waited.elapsed();
        if (left > 0 && !toldWaiting && waited.elapsed() >= kWaitMs && waiting) {
            toldWaiting = true;
            waiting();
        }
        return int(std::clamp<qint64>(left, 0, kWaitMs));
    };
    socket.write(encoded(request));
    // The running copy answers once it has the request.
    while (!socket.canReadLine()) {
        const bool progressed = socket.bytesToWrite() > 0 ? socket.waitForBytesWritten(remaining())
                                                          : socket.waitForReadyRead(remaining());
        if (progressed)
            continue;
        // A copy that went away without an answer took nothing: its socket is stale, and this one runs.
        if (socket.state() != QLocalSocket::ConnectedState)
            return Outcome::NoneRunning;
        if (waited.elapsed() >= kPatienceMs)
            return Outcome::NoAnswer;
    }
    return socket.readLine().trimmed() == "taken" ? Outcome::Taken : Outcome::NoneRunning;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    // With an access option Qt makes the socket aside and renames it into place, so a socket left by
    // a copy that was killed is replaced here; the handOver() before has made sure none answers.
    if (m_server->listen(m_name))
        return true;
    // Without one (a Qt that binds in place), such a socket is in the way: it is taken over.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (!probe.waitForConnected(kWaitMs) && QLocalServer::removeServer(m_name) && m_server->listen(m_name))
            return true;
    }
    return false;
}

void SingleInstance::onConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guarded(socket);
        const auto read = [this, guarded] {
            if (!guarded)
                return;
            if (!guarded->canReadLine()) {
                if (guarded->bytesAvailable() > kLongestRequest)
                    guarded->abort();
                return;
            }
            QString line = QString::fromUtf8(guarded->readLine(kLongestRequest));
            line.chop(line.endsWith(QLatin1Char('\n')) ? 1 : 0);
            guarded->write("taken\n");
            guarded->flush();
            guarded->disconnectFromServer();
            m_waiting.append(decoded(line));
            QTimer::singleShot(0, this, &SingleInstance::deliver);
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

void SingleInstance::setReceiver(std::function<void(const HandOver &)> receiver)
{
    m_receiver = std::move(receiver);
    deliver();
}

void SingleInstance::deliver()
{
    if (!m_receiver || m_waiting.isEmpty())
        return;
    // A question already open is answered first; the request then gets its own. The question comes
    // forward, once, so that the later start is seen to have reached this copy.
    if (QWidget *question = QApplication::activeModalWidget()) {
        if (m_broughtForward != question) {
            m_broughtForward = question;
            question->raise();
            question->activateWindow();
        }
        QTimer::singleShot(200, this, &SingleInstance::deliver);
        return;
    }
    m_broughtForward = nullptr;
    m_receiver(m_waiting.takeFirst());
    if (!m_waiting.isEmpty())
        QTimer::singleShot(0, this, &SingleInstance::deliver);
}

} // namespace app
