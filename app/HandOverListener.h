#pragma once
// The window's end of the hand-over socket: reads the files later starts
// send, answers them and passes them on, between the window's other events.
#include <QObject>
#include <QStringList>
#include <memory>

#include "platform/HandOverSocket.h"

class QSocketNotifier;

namespace kobalto {

class HandOverListener : public QObject {
    Q_OBJECT
public:
    explicit HandOverListener(std::unique_ptr<platform::HandOverServer> server, QObject* parent = nullptr);
    ~HandOverListener() override;

    // A sender that has not sent its whole message by then is dropped, so a
    // silent one holds nothing for long.
    static constexpr int kReadTimeoutMs = 10000;
    // Connections read at the same time; more wait in the socket's queue.
    static constexpr int kMaxConnections = 8;

signals:
    // A later start handed these files over (none: it only asks for the
    // window). They are answered for already.
    void filesArrived(const QStringList& files);

private:
    class Connection;
    void AcceptWaiting();
    void Finish(Connection* connection);

    std::unique_ptr<platform::HandOverServer> server_;
    QSocketNotifier* notifier_ = nullptr;
    int open_ = 0;
};

}  // namespace kobalto
