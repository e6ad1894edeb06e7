#pragma once
// Messages between programs of this project (the frame monitor, the coordinator): an endpoint is
// a local socket named after the window title it stands for; a message is the record
// (message, wParam, lParam), exactly what the desktop's window messages carried.
#include "platform/Messages.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace vmc {

struct RemoteMessage {
    quint32 msg = 0;
    qint64 wParam = 0;
    qint64 lParam = 0;
};

// Per-user socket path for a title.
QString EndpointPath(const QString& title);

// Listens under a title; every record received is handed to the handler on the owner's thread.
class EndpointServer final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const RemoteMessage&)>;
    explicit EndpointServer(QObject* parent = nullptr);
    ~EndpointServer() override;
    // Fails when another live program already listens under the title.
    bool Listen(const QString& title, QString* error = nullptr);
    void SetHandler(Handler h) { m_handler = std::move(h); }

private:
    void OnNewConnection();
    QLocalServer* m_server;
    Handler m_handler;
};

// The sending side: looks the title up on demand and keeps the connection while it lasts.
class RemoteWindow {
public:
    explicit RemoteWindow(QString title);
    ~RemoteWindow();
    RemoteWindow(const RemoteWindow&) = delete;
    RemoteWindow& operator=(const RemoteWindow&) = delete;

    // True when a program listens under the title now. Cheap when none does (one stat call).
    bool Find();
    bool Send(const std::vector<RemoteMessage>& messages);
    bool Send(quint32 msg, qint64 wParam, qint64 lParam) { return Send({RemoteMessage{msg, wParam, lParam}}); }
    const QString& Title() const { return m_title; }

private:
    QString m_title;
    std::unique_ptr<QLocalSocket> m_socket;
};

} // namespace vmc
