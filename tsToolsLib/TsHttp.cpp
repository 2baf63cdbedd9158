#include "TsHttp.h"

#include "ConsoleLine.h"
#include "HttpFetcher.h"

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

    QNetworkRequest request(target);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    m_received = 0;
    QNetworkReply *reply = m_manager->get(request);
    m_reply = reply;
    // The body goes to the device as it comes, and not a byte past the cap.
    const auto take = [this, reply, device] {
        const QByteArray data = reply->readAll();
        m_received += data.size();
        if (m_received > maxBodySize()) {
            fail(UnknownError);
            return false;
        }
        if (device)
            device->write(data);
        return true;
    };
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        if (!headerAcceptable(reply))
            fail(InvalidResponseHeader);
        else if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > maxBodySize())
            fail(UnknownError);
    });
    connect(reply, &QIODevice::readyRead, this, [this, take] {
        if (!m_done)
            take();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, take] {
        if (reply != m_reply || m_done || !take())
            return;
        m_lastError = codeFor(reply->error());
        if (reply->error() != QNetworkReply::NoError) {
            finished(0, true);
            return;
        }
        // A redirect without a usable target ends here with its own status.
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status < 200 || status > 299) {
            fail(UnknownError);
            return;
        }
        // A body cut short is not the document, whatever the connection said.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && m_received < length.toLongLong()) {
            fail(WrongContentLength);
            return;
        }
        finished(0, false);
    });
    QMetaObject::Connection quitConnection;
    if (QCoreApplication *app = QCoreApplication::instance())
        quitConnection = connect(app, &QCoreApplication::aboutToQuit, this, &TsHttp::abort);
    if (m_timeout > 0)
        m_timer.start(m_timeout, this);
    m_abortPoll.start(100, this);

    QEventLoop loop;
    m_loop = &loop;
    if (!m_done)
        loop.exec(QEventLoop::AllEvents);
    m_loop = nullptr;
    // The application leaving its event loops ends ours too, done or not.
    if (!m_done)
        abort();

    m_timer.stop();
    m_abortPoll.stop();
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
    fail(Aborted);
}

bool TsHttp::headerAcceptable(const QNetworkReply *reply) const
{
    qsizetype total = 0;
    for (const auto &[name, value] : reply->rawHeaderPairs()) {
        const qsizetype line = name.size() + 2 + value.size();
        total += line + 2;
        if (line > HttpFetcher::HeaderLineLimit || total > HttpFetcher::HeaderLimit)
            return false;
    }
    return true;
}

void TsHttp::fail(int code)
{
    if (m_done)
        return;
    m_lastError = code;
    end(false);
}

void TsHttp::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_abortPoll.timerId()) {
        if (abortRequested())
            abort();
        return;
    }
    if (event->timerId() != m_timer.timerId()) {
        TsHttpInterface::timerEvent(event);
        return;
    }
    fail(Aborted);
}

void TsHttp::end(bool success)
{
    if (m_done)
        return;
    m_done = true;
    m_success = success;
    m_timer.stop();
    m_abortPoll.stop();
    if (m_loop)
        m_loop->quit();
}
