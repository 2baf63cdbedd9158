#include "AuthenticateMsg.h"
#include "AuthenticateReq.h"
#include "AuthenticateResultMsg.h"
#include "AutoReleaseMsg.h"
#include "CancelJobReq.h"
#include "DaxTimeSource.h"
#include "EndOfSessionMsg.h"
#include "GuestJobMsg.h"
#include "GuestJobReq.h"
#include "JobDeletedMsg.h"
#include "JobReceivedMsg.h"
#include "KoaAckMsg.h"
#include "KoaConnection.h"
#include "KoaMessageDispatcher.h"
#include "MessageClientInterface.h"
#include "PrintClientUpdateMsg.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobReq.h"
#include "SettingsMsg.h"
#include "SettingsResponseMsg.h"
#include "ShowSpoolingDialogMsg.h"
#include "TsCurrency.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

// A received text as the connection hands it on: through the registered
// dispatcher to a handler that reads the parsed message back the way the
// real handlers do, minus their dialogs; then into every message class.

namespace {

class ReadingHandler : public Tessaly::Core::MessageHandler
{
public:
    ReadingHandler()
        : MessageHandler(nullptr)
    { }
    QString handle(const QString &, Tessaly::Core::Message *message) override
    {
        if (auto *job = dynamic_cast<JobReceivedMsg *>(message)) {
            const TsCurrency currency(true);
            (void)currency.format(TsCurrency::dollarsToCents(job->totalCost()), true);
            (void)currency.format(TsCurrency::dollarsToCents(job->pageCost()), false);
        }
        const std::unique_ptr<Tessaly::Core::Message> copy = message->clone();
        return copy->getTextForSending();
    }
    [[nodiscard]] std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<ReadingHandler>();
    }
};

class CountingClient : public MessageClientInterface
{
public:
    bool sendMessage(const QString &) override
    {
        ++sent;
        return true;
    }
    int sent = 0;
};

std::unique_ptr<ReadingHandler> handler()
{
    return std::make_unique<ReadingHandler>();
}

struct Setup
{
    Tessaly::Core::DaxTimeSource clock;
    std::vector<std::unique_ptr<Tessaly::Core::Message>> messages;
    KoaMessageDispatcher dispatcher {nullptr};
    CountingClient client;
    KoaConnection connection {&dispatcher, &client, nullptr};

    Setup()
    {
        Tessaly::Core::Message::setTimeSource(&clock);
        messages.push_back(std::make_unique<AuthenticateReq>(handler()));
        messages.push_back(std::make_unique<AuthenticateMsg>(handler()));
        messages.push_back(std::make_unique<AuthenticateResultMsg>(handler()));
        messages.push_back(std::make_unique<GuestJobReq>(handler()));
        messages.push_back(std::make_unique<GuestJobMsg>(handler()));
        messages.push_back(std::make_unique<JobReceivedMsg>(handler()));
        messages.push_back(std::make_unique<PrintJobReq>(QStringLiteral("en_us"), handler()));
        messages.push_back(std::make_unique<PrintJobConfirmationMsg>(handler()));
        messages.push_back(std::make_unique<CancelJobReq>(handler()));
        messages.push_back(std::make_unique<JobDeletedMsg>(handler()));
        messages.push_back(std::make_unique<ShowSpoolingDialogMsg>(handler()));
        messages.push_back(std::make_unique<AutoReleaseMsg>(handler()));
        messages.push_back(std::make_unique<KoaAckMsg>(handler()));
        messages.push_back(std::make_unique<EndOfSessionMsg>(handler()));
        messages.push_back(std::make_unique<SettingsMsg>(handler()));
        messages.push_back(
            std::make_unique<SettingsResponseMsg>(QStringLiteral("en_us"), handler()));
        messages.push_back(std::make_unique<PrintClientUpdateMsg>(handler()));
        for (const auto &message : messages)
            dispatcher.registerMessage(message->messageId(), message.get());
    }
};

Setup *setup = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    setup = new Setup;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const int before = setup->client.sent;
    setup->connection.messageReceived(text);
    // Every text gets exactly one answer, whatever it holds.
    if (setup->client.sent != before + 1)
        __builtin_trap();
    for (const auto &message : setup->messages) {
        if (message->fromText(text))
            (void)message->getTextForSending();
    }
    return 0;
}
