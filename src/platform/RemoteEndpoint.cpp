#include "platform/RemoteEndpoint.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QtEndian>
#include <unistd.h>

namespace vmc {
namespace {

constexpr int kRecordSize = 20;

QByteArray Encode(const std::vector<RemoteMessage>& messages) {
    QByteArray out(static_cast<int>(messages.size()) * kRecordSize, '\0');
    char* p = out.data();
    for (const auto& m : messages) {
        qToLittleEndian<quint32>(m.msg, p);
        qToLittleEndian<qint64>(m.wParam, p + 4);
        qToLittleEndian<qint64>(m.lParam, p + 12);
        p += kRecordSize;
    }
    return out;
}

} // namespace

QString EndpointPath(const QString& title) {
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QFileInfo(dir).isWritable())
        dir = QDir::tempPath();
    QString safe = title;
    safe.replace('/', '_');
    return dir + QStringLiteral("/vmc70-%1-").arg(::getuid()) + safe;
}

EndpointServer::EndpointServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this)) {
    connect(m_server, &QLocalServer::newConnection, this, &EndpointServer::OnNewConnection);
}

EndpointServer::~EndpointServer() = default;

bool EndpointServer::Listen(const QString& title, QString* error) {
    const QString path = EndpointPath(title);
    {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(200)) {
            if (error)
                *error = QStringLiteral("\"%1\" is already running").arg(title);
            return false;
        }
    }
    QLocalServer::removeServer(path); // a stale socket left by a crashed program
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        if (error)
            *error = m_server->errorString();
        return false;
    }
    return true;
}

void EndpointServer::OnNewConnection() {
    while (QLocalSocket* s = m_server->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, this, [this, s] {
            while (s->bytesAvailable() >= kRecordSize) {
                char rec[kRecordSize];
                if (s->read(rec, kRecordSize) != kRecordSize)
                    break;
                RemoteMessage m;
                m.msg = qFromLittleEndian<quint32>(rec);
                m.wParam = qFromLittleEndian<qint64>(rec + 4);
                m.lParam = qFromLittleEndian<qint64>(rec + 12);
                if (m_handler)
                    m_handler(m);
            }
        });
    }
}

RemoteWindow::RemoteWindow(QString title) : m_title(std::move(title)) {}

RemoteWindow::~RemoteWindow() = default;

bool RemoteWindow::Find() {
    if (m_socket && m_socket->state() == QLocalSocket::ConnectedState)
        return true;
    m_socket.reset();
    const QString path = EndpointPath(m_title);
    if (!QFileInfo::exists(path))
        return false;
    auto s = std::make_unique<QLocalSocket>();
    s->connectToServer(path);
    if (!s->waitForConnected(100))
        return false;
    m_socket = std::move(s);
    return true;
}

bool RemoteWindow::Send(const std::vector<RemoteMessage>& messages) {
    if (!Find())
        return false;
    const QByteArray data = Encode(messages);
    if (m_socket->write(data) != data.size() || !m_socket->flush()) {
        m_socket.reset();
        return false;
    }
    return true;
}

} // namespace vmc
