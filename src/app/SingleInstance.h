#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <QStringList>

#include <functional>

class QLocalServer;

namespace app {

// What a later start asks of the running copy: an applicant file to open, a folder of applicants to
// compare, or (both empty) only to come to the front. One line on the socket.
struct HandOver {
    QString applicantFile;
    QString applicantsFolder;
};

// One window per settings record. The fields are written through to the store on every change, so
// two running copies on one store would mix two applicants into one record: a second start on the
// same store and display hands its applicant file (if any) to the copy already running and ends.
// The first copy listens on a local socket private to the user (QLocalServer), named after the
// user, the display and the store's path. A copy that finds no running one of this user's within a
// second, or cannot listen, runs on its own. A running copy that takes the connection is alive, though it
// may be busy: the later start waits for its answer, and never runs a second window beside it.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &storePath);
    ~SingleInstance() override;

    // The socket's name for a store on this display.
    static QString serverName(const QString &storePath);

    enum class Outcome {
        NoneRunning, // no copy took the connection: this one runs
        Taken,       // the running copy took the request: this one ends
        NoAnswer,    // a copy took the connection but did not answer in time: this one must not run
    };
    // Hands the request to a running copy. `waiting` is called once when the copy has not answered
    // within a second and the wait goes on (up to kPatienceMs in all).
    Outcome handOver(const HandOver &request, const std::function<void()> &waiting = {});
    // How long a later start waits for a busy running copy.
    static constexpr int kPatienceMs = 15000;
    // Begins listening for later starts; false when it cannot (this copy then runs alone).
    bool listen();

    // What to do with a request a later start handed over. Requests that arrive before this is
    // set, or while a modal box is open, wait.
    void setReceiver(std::function<void(const HandOver &)> receiver);

private:
    void onConnection();
    void deliver();

    QString m_name;
    QLocalServer *m_server = nullptr;
    QList<HandOver> m_waiting;
    std::function<void(const HandOver &)> m_receiver;
    QPointer<QWidget> m_broughtForward; // the open question a waiting request has raised
};

} // namespace app
