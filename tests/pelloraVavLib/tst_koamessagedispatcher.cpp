#include "EnvironmentProvider.h"
#include "EventRecorder.h"
#include "KoaConnection.h"
#include "KoaMessageDispatcher.h"
#include "Message.h"
#include "MessageClientInterface.h"
#include "MessageHandler.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "PrintClientRegistration.h"

#include <QRandomGenerator>
#include <QtTest>

using Tessaly::Core::Message;
using Tessaly::Core::MessageHandler;

namespace {
class EchoHandler : public MessageHandler
{
public:
    EchoHandler()
        : MessageHandler(nullptr)
    { }
    QString handle(const QString &source, Message *) override
    {
        if (throwing)
            throw std::runtime_error("handler failed");
        return QStringLiteral("answer to %1").arg(source);
    }
    std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<EchoHandler>(*this);
    }
    bool throwing = false;
};

// Accepts "<id>|<14 digits>" and nothing else.
class StampMessage : public Message
{
public:
    StampMessage(long id, std::unique_ptr<MessageHandler> handler)
        : Message(std::move(handler), nullptr)
        , m_id(id)
    { }
    std::unique_ptr<Message> clone() const override
    {
        return std::make_unique<StampMessage>(*this);
    }
    QString toText() override { return QString(); }
    bool fromText(const QString &text) override
    {
        const QStringList fields = text.split(QLatin1Char('|'));
        return fields.size() == 2 && fields[0] == QString::number(m_id) && fields[1].size() == 14;
    }
    long messageId() const override { return m_id; }

private:
    long m_id;
};

class FakeClient : public MessageClientInterface
{
public:
    bool sendMessage(const QString &text) override
    {
        sent.append(text);
        return accept;
    }
    QStringList sent;
    bool accept = true;
};

class FakeEnvironment : public EnvironmentProvider
{
public:
    QString getUserDomain() override { return QStringLiteral("localdomain"); }
    QString getUserName() override { return user; }
    QString getMachineName() override { return machine; }
    bool isUserInDomain() override { return false; }
    bool isServiceInstalled(const QString &) override { return false; }
    QString user, machine;
};
} // namespace

class TestKoaMessageDispatcher : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        auto handler = std::make_unique<EchoHandler>();
        m_handler = handler.get();
        m_message = std::make_unique<StampMessage>(54, std::move(handler));
        m_dispatcher = std::make_unique<KoaMessageDispatcher>(nullptr);
        m_dispatcher->registerMessage(54, m_message.get());
    }

    void answers_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("answer");
        QTest::addRow("no response") << "No Response" << "No Response";
        QTest::addRow("no response with blank")
            << "No Response " << "Message Not Handled: No Response ";
        QTest::addRow("no separator") << "hello" << "Message Not Handled: hello";
        QTest::addRow("empty id") << "|x" << "Message Not Handled: |x";
        QTest::addRow("letters as id") << "abc|x" << "Message Not Handled: abc|x";
        QTest::addRow("unregistered")
            << "99|20260304050607" << "Message Not Handled: 99|20260304050607";
        QTest::addRow("registered") << "54|20260304050607" << "answer to Print Service";
        QTest::addRow("rejected by its class") << "54|2026|extra" << "";
        QTest::addRow("empty text") << "" << "Message Not Handled: ";
        // clang-format on
    }

    void answers()
    {
        QFETCH(QString, text);
        QTEST(m_dispatcher->dispatch(QStringLiteral("Print Service"), text), "answer");
    }

    void firstRegistrationStays()
    {
        StampMessage other(54, std::make_unique<EchoHandler>());
        m_dispatcher->registerMessage(54, &other);
        QCOMPARE(m_dispatcher->registeredMessageCount(), 1);
        QVERIFY(m_dispatcher->isRegistered(54));
        QVERIFY(!m_dispatcher->isRegistered(4));
        QCOMPARE(m_dispatcher->dispatch(QStringLiteral("x"), QStringLiteral("54|20260304050607")),
            QStringLiteral("answer to x"));
    }

    void throwingHandlerStillAnswers()
    {
        m_handler->throwing = true;
        QCOMPARE(m_dispatcher->dispatch(QStringLiteral("P"), QStringLiteral("54|20260304050607")),
            QString());
    }

    void traceSequence_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("hello") << "hello"
                               << QStringList {"Trace Enter: dispatch",
                                      "Info Message to dispatch=hello",
                                      "Verbose After check for NO_RESPONSE",
                                      "Warning Message is malformed", "Trace Exit: dispatch"};
        QTest::addRow("no response")
            << "No Response"
            << QStringList {"Trace Enter: dispatch", "Info Message to dispatch=No Response",
                   "Warning Message is NO_RESPONSE", "Trace Exit: dispatch"};
        QTest::addRow("unregistered")
            << "7|x"
            << QStringList {"Trace Enter: dispatch", "Info Message to dispatch=7|x",
                   "Verbose After check for NO_RESPONSE",
                   "Verbose After check for Message Not Handled",
                   "Warning Message does not have a message id", "Trace Exit: dispatch"};
        QTest::addRow("handled") << "54|20260304050607"
                                 << QStringList {"Trace Enter: dispatch",
                                        "Info Message to dispatch=54|20260304050607",
                                        "Verbose After check for NO_RESPONSE",
                                        "Verbose After check for Message Not Handled",
                                        "Verbose After check for Message id",
                                        "Verbose Attempting to handle message",
                                        "Info Message handled.  Returning: answer to Print Service",
                                        "Trace Exit: dispatch"};
        // clang-format on
    }

    void traceSequence()
    {
        QFETCH(QString, text);
        EventRecorder recorder;
        m_dispatcher->addObserver(&recorder);
        m_dispatcher->dispatch(QStringLiteral("Print Service"), text);
        QStringList lines;
        for (const UtilsLib::ObservableEvent &event : std::as_const(recorder.events)) {
            lines.append(event.category() + QLatin1Char(' ') + event.details());
            QCOMPARE(event.senderId(), QStringLiteral("KoaMessageDispatcher"));
            QCOMPARE(event.function(), QStringLiteral("dispatch"));
        }
        QTEST(lines, "lines");
        m_dispatcher->removeObserver(&recorder);
    }

    void connectionSendsEveryAnswer_data()
    {
        // clang-format off
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("answer");
        QTest::addRow("handled") << "54|20260304050607" << "answer to Print Service";
        QTest::addRow("rejected, empty answer") << "54|bad" << "";
        QTest::addRow("not handled") << "hello" << "Message Not Handled: hello";
        QTest::addRow("no response") << "No Response" << "No Response";
        // clang-format on
    }

    void connectionSendsEveryAnswer()
    {
        QFETCH(QString, text);
        QFETCH(QString, answer);
        FakeClient client;
        client.accept = false; // a failed send is the socket's business
        EventRecorder recorder;
        KoaConnection connection(m_dispatcher.get(), &client, &recorder);
        connection.messageReceived(text);
        QCOMPARE(client.sent, QStringList {answer});
        QStringList infos;
        for (const UtilsLib::ObservableEvent &event : std::as_const(recorder.events)) {
            if (event.category() == QLatin1String("Info"))
                infos.append(event.details());
        }
        QCOMPARE(infos, (QStringList {"Recevied: " + text, "Sent: " + answer}));
    }

    void registration_data()
    {
        // clang-format off
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("text");
        QTest::addRow("plain") << "jo" << "lab-mac-07" << "register:jo:lab-mac-07";
        QTest::addRow("colon in user") << "jo:e" << "m" << "register:jo\\:e:m";
        QTest::addRow("backslash in host") << "jo" << "C:\\net" << "register:jo:C\\:\\\\net";
        QTest::addRow("empty user") << "" << "m" << "register::m";
        // clang-format on
    }

    void registration()
    {
        QFETCH(QString, user);
        QFETCH(QString, machine);
        FakeClient client;
        FakeEnvironment environment;
        environment.user = user;
        environment.machine = machine;
        PrintClientRegistration registration(&client, &environment);
        registration.connectionEstablished();
        registration.connectionLost();
        registration.connectionEstablished();
        QFETCH(QString, text);
        QCOMPARE(client.sent, (QStringList {text, text}));
    }

    // Any text at all gets exactly one answer and nothing escapes.
    void anyTextOneAnswer()
    {
        FakeClient client;
        KoaConnection connection(m_dispatcher.get(), &client, nullptr);
        QRandomGenerator random(58);
        const QStringList seeds
            = {QStringLiteral("54|20260304050607"), QStringLiteral("No Response"),
                QStringLiteral("99|x|y"), QStringLiteral("|||"), QStringLiteral("54|")};
        const QString alphabet = QStringLiteral("0123456789|:\\ aZ\t\n\x01é\xFFFD");
        int count = 0;
        for (int round = 0; round < 20000; ++round) {
            QString text;
            if (round % 2) {
                text = seeds.at(random.bounded(int(seeds.size())));
                const int edits = 1 + random.bounded(4);
                for (int e = 0; e < edits; ++e) {
                    const int position = text.isEmpty() ? 0 : random.bounded(int(text.size()) + 1);
                    const QChar c = alphabet.at(random.bounded(int(alphabet.size())));
                    switch (random.bounded(3)) {
                    case 0:
                        text.insert(position, c);
                        break;
                    case 1:
                        text.remove(position, 1);
                        break;
                    default:
                        if (position < text.size())
                            text[position] = c;
                    }
                }
            } else {
                const int length = random.bounded(40);
                for (int i = 0; i < length; ++i) {
                    text += random.bounded(4) == 0
                        ? QChar(char16_t(random.bounded(1, 0xD7FF)))
                        : alphabet.at(random.bounded(int(alphabet.size())));
                }
            }
            connection.messageReceived(text);
            ++count;
            QCOMPARE(client.sent.size(), count);
        }
    }

private:
    EchoHandler *m_handler = nullptr;
    std::unique_ptr<StampMessage> m_message;
    std::unique_ptr<KoaMessageDispatcher> m_dispatcher;
};

QTEST_GUILESS_MAIN(TestKoaMessageDispatcher)
#include "tst_koamessagedispatcher.moc"
