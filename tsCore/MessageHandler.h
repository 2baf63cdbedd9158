#pragma once

#include "Observable.h"

#include <QString>

#include <memory>

namespace UtilsLib {
class Observer;
}

namespace Tessaly::Core {

class Message;

class MessageHandler : public UtilsLib::Observable
{
public:
    // A null observer makes the handler report to the application context's
    // "observerManager", when there is one.
    explicit MessageHandler(UtilsLib::Observer *observer);
    MessageHandler(const MessageHandler &other) = default;
    MessageHandler &operator=(const MessageHandler &other) = default;
    ~MessageHandler() override = default;

    virtual QString handle(const QString &source, Message *message) = 0;
    [[nodiscard]] virtual std::unique_ptr<MessageHandler> clone() const = 0;
};

} // namespace Tessaly::Core
