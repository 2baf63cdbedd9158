#include "KoaMessageDispatcher.h"

#include "KoaConstants.h"
#include "Message.h"
#include "Trace.h"
#include "TraceMask.h"

const QString KoaMessageDispatcher::ClassName = QStringLiteral("KoaMessageDispatcher");

namespace {
const char *const DispatchFunction = "dispatch";

QString notHandled(const QString &text)
{
    return QStringLiteral("Message Not Handled: %1").arg(text);
}
} // namespace

KoaMessageDispatcher::KoaMessageDispatcher(UtilsLib::Observer *observer)
{
    addObserver(observer);
}

KoaMessageDispatcher::~KoaMessageDispatcher()
{
    Trace trace(this, ClassName, "~KoaMessageDispatcher");
}

QString KoaMessageDispatcher::dispatch(const QString &source, const QString &text)
{
    Trace trace(this, ClassName, DispatchFunction);
    Trace::logf(this, ClassName, DispatchFunction, Trace::Info, Trace::InfoCode,
        "Message to dispatch=%1", Tessaly::Core::TraceMask::wireText(text));

    if (text == KoaConstants::NO_RESPONSE) {
        Trace::log(this, ClassName, DispatchFunction, Trace::Warning, Trace::WarningCode,
            QStringLiteral("Message is NO_RESPONSE"));
        return text;
    }
    Trace::log(this, ClassName, DispatchFunction, Trace::Verbose, Trace::VerboseCode,
        QStringLiteral("After check for NO_RESPONSE"));

    if (!text.contains(Tessaly::Core::Message::fieldSeparator())) {
        Trace::log(this, ClassName, DispatchFunction, Trace::Warning, Trace::WarningCode,
            QStringLiteral("Message is malformed"));
        return notHandled(text);
    }
    Trace::log(this, ClassName, DispatchFunction, Trace::Verbose, Trace::VerboseCode,
        QStringLiteral("After check for Message Not Handled"));

    Tessaly::Core::Message *message
        = registeredMessage(Tessaly::Core::Message::getMessageIdFromText(text));
    if (!message) {
        Trace::log(this, ClassName, DispatchFunction, Trace::Warning, Trace::WarningCode,
            QStringLiteral("Message does not have a message id"));
        return notHandled(text);
    }
    Trace::log(this, ClassName, DispatchFunction, Trace::Verbose, Trace::VerboseCode,
        QStringLiteral("After check for Message id"));
    Trace::log(this, ClassName, DispatchFunction, Trace::Verbose, Trace::VerboseCode,
        QStringLiteral("Attempting to handle message"));

    QString answer;
    try {
        answer = message->handle(source, text);
    } catch (...) {
        // Every text gets exactly one answer; a handler's failure becomes the
        // same empty answer as a rejected text.
        Trace::log(this, ClassName, DispatchFunction, Trace::Error, Trace::ErrorCode,
            QStringLiteral("Handling the message failed"));
        answer.clear();
    }
    Trace::logf(this, ClassName, DispatchFunction, Trace::Info, Trace::InfoCode,
        "Message handled.  Returning: %1", Tessaly::Core::TraceMask::wireText(answer));
    return answer;
}
