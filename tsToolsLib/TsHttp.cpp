#include "TsHttp.h"

#include "ConsoleLine.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimerEvent>
#include <QUrl>

const QString TsHttp::SourceName = QStringLiteral("tsHttp");

namespace {

int codeFor(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NoError:
        return TsHttp::NoError;
    case QNetworkReply::HostNotFoundError:
        return TsHttp::HostNotFound;
    case QNetworkReply::ConnectionRefusedError:
        return TsHttp::ConnectionRefused;
    case QNetworkReply::RemoteHostClosedError:
        return TsHttp::UnexpectedClose;
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::ProtocolInvalidOperationError:
        return TsHttp::InvalidResponseHeader;
    case QNetworkReply::OperationCanceledError:
        return TsHttp::Aborted;
    default:
        return TsHttp::UnknownError;
    }
}

} // namespace

TsHttp::TsHttp(QObject *parent)
    : TsHttpInterface(parent)
{ }

TsHttp::~TsHttp() = default;

bool TsHttp::setTimeout(int milliseconds)
{
    m_timeout = milliseconds;
    return true;
}

QString TsHttp::errorText(int code)
{
    switch (code) {
    case NoError:
        return QStringLiteral("No error occurred.");
    case HostNotFound:
        return QStringLiteral("The host name lookup failed.");
    case ConnectionRefused:
        return QStringLiteral("The server refused the connection.");
    case UnexpectedClose:
        return QStringLiteral("The server closed the connection unexpectedly.");
    case InvalidResponseHeader:
        return QStringLiteral("The server sent an invalid response header.");
    case WrongContentLength:
        return QStringLiteral("The client could not read the content correctly because an error "
                              "with respect to the content length occurred.");
    case Aborted:
        return QStringLiteral("The request was aborted with abort().");
    default:
        return QStringLiteral("An error other than those specified above occurred.");
    }
}

bool TsHttp::get(const QString &url, QIODevice *device)
{
    // A url without a scheme would have its host read as the scheme.
    QUrl target = QUrl(url.contains(QLatin1String("://")) ? url : QStringLiteral("http://") + url);
    if (target.port() < 0)
        target.setPort(80);

    if (!m_manager) {
        m_manager = std::make_unique<QNetworkAccessManager>();
        // Requests go straight to the named host, as they always have.
        m_manager->setProxy(QNetworkProxy::NoProxy);
    }

    m_success = false;
    m_done = false;
    m_lastError = NoError;
    if (device && !device->isOpen() && !device->open(QIODevice::WriteOnly)) {
        m_lastError = UnknownError;
        UtilsLib::writeConsoleLine(SourceName + QStringLiteral(": ")
            + QStringLiteral("http get status: %1").arg(errorText(m_lastError)));
        return false;
    }

    QNetworkReply *reply = m_manager->get(QNetworkRequest(target));
    m_reply = reply;
    connect(reply, &QIODevice::readyRead, this, [reply, device] {
        const QByteArray data = reply->readAll();
        if (device)
            device->write(data);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, device] {
        if (reply != m_reply)
            return;
        if (device)
            device->write(reply->readAll());
        m_lastError = codeFor(reply->error());
        finished(0, reply->error() != QNetworkReply::NoError);
    });
    QMetaObject::Connection quitConnection;
    if (QCoreApplication *app = QCoreApplication::instance())
        quitConnection = connect(app, &QCoreApplication::aboutToQuit, this, &TsHttp::abort);
    if (m_timeout > 0)
        m_timer.start(m_timeout, this);

    QEventLoop loop;
    m_loop = &loop;
    if (!m_done)
        loop.exec(QEventLoop::AllEvents);
    m_loop = nullptr;
    // The application leaving its event loops ends ours too, done or not.
    if (!m_done)
        abort();

    m_timer.stop();
    disconnect(quitConnection);
    m_reply = nullptr;
    reply->disconnect(this);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();

    if (device)
        device->close();
    if (!m_success) {
        if (m_lastError == NoError)
            m_lastError = UnknownError;
        UtilsLib::writeConsoleLine(SourceName + QStringLiteral(": ")
            + QStringLiteral("http get status: %1").arg(errorText(m_lastError)));
    }
    return m_success;
}

void TsHttp::finished(int, bool error)
{
    end(!error);
}

void TsHttp::abort()
{
    m_lastError = Aborted;
    end(false);
}

void TsHttp::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        TsHttpInterface::timerEvent(event);
        return;
    }
    m_timer.stop();
    m_lastError = Aborted;
    end(false);
}

void TsHttp::end(bool success)
{
    if (m_done)
        return;
    m_done = true;
    m_success = success;
    m_timer.stop();
    if (m_loop)
        m_loop->quit();
}
