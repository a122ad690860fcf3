#include "app/HandOverListener.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

namespace kobalto {

// One sender being read; owns its socket.
class HandOverListener::Connection : public QObject {
public:
    Connection(int fd, QObject* parent) : QObject(parent), socket(fd), notifier(fd, QSocketNotifier::Read, this)
    {
        timer.setSingleShot(true);
        timer.start(kReadTimeoutMs);
    }
    platform::HandOverConnection socket;
    QSocketNotifier notifier;
    QTimer timer;
};

HandOverListener::HandOverListener(std::unique_ptr<platform::HandOverServer> server, QObject* parent)
    : QObject(parent), server_(std::move(server))
{
    if (!server_ || !server_->Listening())
        return;
    notifier_ = new QSocketNotifier(server_->Descriptor(), QSocketNotifier::Read, this);
    // Senders that came while the program was starting wait in the queue
    // and show as readable at the first turn of the event loop.
    connect(notifier_, &QSocketNotifier::activated, this, &HandOverListener::AcceptWaiting);
}

HandOverListener::~HandOverListener() = default;

void HandOverListener::AcceptWaiting()
{
    while (open_ < kMaxConnections) {
        const int fd = server_->Accept();
        if (fd < 0)
            break;
        auto* connection = new Connection(fd, this);
        ++open_;
        connect(&connection->timer, &QTimer::timeout, this, [this, connection] { Finish(connection); });
        connect(&connection->notifier, &QSocketNotifier::activated, this, [this, connection] {
            using State = platform::HandOverParser::State;
            const State state = connection->socket.Read();
            if (state == State::NeedMore)
                return;
            QStringList files;
            // The answer goes first: a sender that gave up never learns the
            // files opened, so they do not.
            const bool taken = state == State::Complete && connection->socket.Answer();
            if (taken)
                for (const std::string& file : connection->socket.Files())
                    files.push_back(QFile::decodeName(QByteArray::fromStdString(file)));
            Finish(connection);
            if (taken)
                emit filesArrived(files);
        });
    }
    // Full: the rest wait until a connection is done.
    notifier_->setEnabled(open_ < kMaxConnections);
}

void HandOverListener::Finish(Connection* connection)
{
    if (!connection->notifier.isEnabled())
        return;
    connection->notifier.setEnabled(false);
    connection->timer.stop();
    // Deleted once its own signal has returned.
    connection->deleteLater();
    --open_;
    if (!notifier_->isEnabled()) {
        notifier_->setEnabled(true);
        AcceptWaiting();
    }
}

}  // namespace kobalto
