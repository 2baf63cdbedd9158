#include "TsHttp.h"

#include "ConsoleLine.h"
#include "HttpTransport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>

#include <cerrno>
#include <thread>

const QString TsHttp::SourceName = QStringLiteral("tsHttp");

namespace {

int codeFor(const HttpFetcher::Error &error)
{
    using namespace HttpFetcher;
    if (error.source == LookupSource)
        return TsHttp::HostNotFound;
    if (error.source == SystemSource) {
        if (error.systemError == ECONNREFUSED)
            return TsHttp::ConnectionRefused;
        if (error.systemError == ECONNRESET || error.systemError == EPIPE)
            return TsHttp::UnexpectedClose;
        return TsHttp::UnknownError;
    }
    switch (error.number) {
    case Success:
        return TsHttp::NoError;
    case NoReturnCode:
        // param: the bytes that came before the close.
        return error.param == 0 ? TsHttp::UnexpectedClose : TsHttp::InvalidResponseHeader;
    case BadReturnCode:
    case NoLocation:
    case HeaderLineTooLong:
    case HeaderTooLong:
    case TransferEncoding:
        return TsHttp::InvalidResponseHeader;
    case BadContentLength:
    case ContentLengthTwice:
    case ShortBody:
    case BodyTooLong:
        return TsHttp::WrongContentLength;
    case HeaderTimeout:
    case DataTimeout:
    case DeadlinePassed:
    case Aborted:
        return TsHttp::Aborted;
    case TlsFailed:
        return TsHttp::SecureConnectionFailed;
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

QString TsHttp::lastErrorDetail() const
{
    return QString::fromStdString(HttpFetcher::errorText(m_transportError));
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
    case SecureConnectionFailed:
        return QStringLiteral("The secure connection to the server failed.");
    default:
        return QStringLiteral("An error other than those specified above occurred.");
    }
}

bool TsHttp::get(const QString &url, QIODevice *device)
{
    m_success = false;
    m_done = false;
    m_lastError = NoError;
    m_transportError = {};
    if (device && !device->isOpen() && !device->open(QIODevice::WriteOnly)) {
        m_lastError = UnknownError;
        UtilsLib::writeConsoleLine(SourceName + QStringLiteral(": ")
            + QStringLiteral("http get status: %1").arg(errorText(m_lastError)));
        return false;
    }

    HttpFetcher::Settings settings;
    // The whole transfer ends by the timeout; no wait has a limit of its own.
    settings.timeoutSeconds = 0;
    settings.deadlineMilliseconds = m_timeout > 0 ? m_timeout : -1;
    settings.redirects = MaxRedirects;
    settings.maxBodySize = maxBodySize();
    m_abort = std::make_shared<std::atomic<bool>>(false);
    settings.abortCheck = [flag = m_abort] {
        return *flag || abortRequested();
    };

    // The transfer blocks, so it runs on a thread while this one keeps
    // handling events; the loop ends when it is done, or when the
    // application leaves its event loops.
    const QByteArray target = url.toLatin1();
    QByteArray body;
    HttpFetcher::Error error;
    const quint64 generation = ++m_generation;
    int length = -1;
    std::thread worker([&, settings] {
        length = HttpTransport::fetch(target.constData(), &body, settings, &error);
        if (QCoreApplication::instance())
            QMetaObject::invokeMethod(
                this,
                [this, generation] {
                    if (generation == m_generation && m_loop)
                        m_loop->quit();
                },
                ::Qt::QueuedConnection);
    });
    if (QCoreApplication::instance()) {
        const QMetaObject::Connection quitConnection = connect(
            QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &TsHttp::abort);
        QEventLoop loop;
        m_loop = &loop;
        loop.exec(QEventLoop::AllEvents);
        m_loop = nullptr;
        disconnect(quitConnection);
    }
    // Either done, or the application left its loops: then the abort check
    // ends the transfer within its poll interval.
    *m_abort = true;
    worker.join();
    ++m_generation;

    m_transportError = error;
    if (!m_done) {
        if (length >= 0) {
            if (device && device->write(body) != body.size())
                m_lastError = UnknownError;
            end(m_lastError == NoError);
        } else {
            m_lastError = codeFor(error);
            end(false);
        }
    }
    if (device)
        device->close();
    if (!m_success) {
        if (m_lastError == NoError)
            m_lastError = UnknownError;
        const QString text
            = m_lastError == SecureConnectionFailed ? lastErrorDetail() : errorText(m_lastError);
        UtilsLib::writeConsoleLine(
            SourceName + QStringLiteral(": ") + QStringLiteral("http get status: %1").arg(text));
    }
    return m_success;
}

void TsHttp::finished(int, bool error)
{
    end(!error);
}

void TsHttp::abort()
{
    if (m_abort)
        *m_abort = true;
    if (!m_done && m_loop) {
        m_lastError = Aborted;
        end(false);
    }
}

void TsHttp::end(bool success)
{
    if (m_done)
        return;
    m_done = true;
    m_success = success;
    if (m_loop)
        m_loop->quit();
}
