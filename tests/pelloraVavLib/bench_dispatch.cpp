// Cost of dispatching one text: a registered message with a trivial handler,
// and an unregistered text, with and without an observer attached.
#include "KoaMessageDispatcher.h"
#include "Message.h"
#include "MessageHandler.h"
#include "ObservableEvent.h"
#include "Observer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <vector>

using Tessaly::Core::Message;
using Tessaly::Core::MessageHandler;

namespace {
class TrivialHandler : public MessageHandler
{
public:
    TrivialHandler()
        : MessageHandler(nullptr)
    { }
    QString handle(const QString &, Message *) override { return m_answer; }
    std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<TrivialHandler>(*this);
    }

private:
    QString m_answer = QStringLiteral("80|20260304050607");
};

class TrivialMessage : public Message
{
public:
    TrivialMessage()
        : Message(std::make_unique<TrivialHandler>(), nullptr)
    { }
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<TrivialMessage>(*this);
    }
    QString toText() override { return QString(); }
    bool fromText(const QString &text) override { return !text.isEmpty(); }
    long messageId() const override { return 54; }
};

class CountingObserver : public UtilsLib::Observer
{
public:
    void notify(const UtilsLib::ObservableEvent &event) override { size += event.details().size(); }
    qsizetype size = 0;
};

double nanosecondsPerText(KoaMessageDispatcher &dispatcher, const QString &text, int iterations)
{
    std::vector<double> runs;
    qsizetype sink = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < iterations; ++i)
            sink += dispatcher.dispatch(QStringLiteral("Print Service"), text).size();
        runs.push_back(double(timer.nsecsElapsed()) / iterations);
    }
    if (sink == 42)
        QTextStream(stdout) << "";
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200000;

    TrivialMessage message;
    KoaMessageDispatcher dispatcher(nullptr);
    dispatcher.registerMessage(54, &message);
    const QString registered = QStringLiteral("54|20260304050607|Aalice|B1");
    const QString unregistered = QStringLiteral("99|20260304050607|Ax");

    QTextStream out(stdout);
    out << "median of 5 runs, " << iterations << " texts each\n";
    out << "registered, no observer:    " << nanosecondsPerText(dispatcher, registered, iterations)
        << " ns/text\n";
    out << "unregistered, no observer:  "
        << nanosecondsPerText(dispatcher, unregistered, iterations) << " ns/text\n";

    CountingObserver observer;
    dispatcher.addObserver(&observer);
    out << "registered, one observer:   " << nanosecondsPerText(dispatcher, registered, iterations)
        << " ns/text\n";
    out << "unregistered, one observer: "
        << nanosecondsPerText(dispatcher, unregistered, iterations) << " ns/text\n";
    return 0;
}
