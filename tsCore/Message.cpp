#include "Message.h"

#include "DaxTimeSource.h"
#include "MessageHandler.h"
#include "ObservableEvent.h"
#include "SystemNetInfoInterface.h"
#include "TraceMask.h"

namespace Tessaly::Core {

DaxTimeSource *Message::m_timeSource = nullptr;
SystemNetInfoInterface *Message::m_sysNetInfo = nullptr;

namespace {

void announceError(const Message &message, const QString &details)
{
    message.announceEvent(UtilsLib::ObservableEvent(QStringLiteral("Application"),
        QStringLiteral("Message"), details, 1, QStringLiteral("handle")));
}

} // namespace

Message::Message() = default;

Message::Message(std::unique_ptr<MessageHandler> handler, UtilsLib::Observer *observer)
    : m_handler(std::move(handler))
    , m_messageObserver(observer)
{
    addObserver(observer);
}

Message::Message(const Message &other)
    : UtilsLib::Observable(other)
    , m_handler(other.m_handler ? other.m_handler->clone() : nullptr)
{ }

Message &Message::operator=(const Message &other)
{
    if (this == &other)
        return *this;
    UtilsLib::Observable::operator=(other);
    m_handler = other.m_handler ? other.m_handler->clone() : nullptr;
    return *this;
}

Message::~Message() = default;

QString Message::handle(const QString &source, const QString &text)
{
    if (!m_handler) {
        announceError(*this, QStringLiteral("No handler configured"));
        return QString();
    }
    if (fromText(text))
        return m_handler->handle(source, this);
    announceError(*this,
        QStringLiteral("Received invalid message format from %1 (Invalid Message=%2)")
            .arg(source, TraceMask::wireText(text)));
    return QString();
}

QString Message::getTextForSending()
{
    Q_ASSERT_X(m_timeSource, "Message::getTextForSending", "no time source set");
    QString text = QString::number(messageId());
    text += fieldSeparator();
    if (m_timeSource)
        text += m_timeSource->timeStamp();
    text += toText();
    return text;
}

QString Message::computerName()
{
    if (m_computerName.isEmpty() && m_sysNetInfo)
        m_computerName = m_sysNetInfo->getComputerName();
    return m_computerName;
}

QString Message::ipAddress()
{
    if (m_ipAddress.isEmpty() && m_sysNetInfo)
        m_ipAddress = m_sysNetInfo->getIpAddress();
    return m_ipAddress;
}

QString Message::buildMessageField(char code, const QString &value) const
{
    return fieldSeparator() + QLatin1Char(code) + value;
}

QString Message::buildMessageField(char code, long value) const
{
    return buildMessageField(code, QString::number(value));
}

QString Message::fieldSeparator()
{
    return QStringLiteral("|");
}

// The one reading of a received text's id, shared by the dispatcher and the
// trace mask: the digits before the first separator, 0 when there are none or
// they are not a number.
long Message::getMessageIdFromText(const QString &text)
{
    const qsizetype separator = text.indexOf(QLatin1Char('|'));
    if (separator <= 0)
        return 0;
    bool ok = false;
    const long id = QStringView(text).left(separator).toLong(&ok, 10);
    return ok ? id : 0;
}

QString Message::stripFieldCode(const QString &field)
{
    return field.mid(1).simplified();
}

void Message::setTimeSource(DaxTimeSource *timeSource)
{
    m_timeSource = timeSource;
}

DaxTimeSource *Message::getTimeSource()
{
    return m_timeSource;
}

void Message::setSystemNetInfo(SystemNetInfoInterface *info)
{
    m_sysNetInfo = info;
}

} // namespace Tessaly::Core
