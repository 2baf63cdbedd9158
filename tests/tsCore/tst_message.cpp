#include "AppContext.h"
#include "AppContextEntryInterface.h"
#include "DaxTimeSource.h"
#include "EventRecorder.h"
#include "Message.h"
#include "MessageBase.h"
#include "MessageHandler.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "ObserverManager.h"
#include "SystemNetInfoInterface.h"
#include "TsMutex.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace Tessaly::Core;

namespace {
class FixedTimeSource : public DaxTimeSource
{
public:
    QDateTime currentTime() const override { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); }
};

int liveHandlers = 0;

class CountingHandler : public MessageHandler
{
public:
    CountingHandler()
        : MessageHandler(nullptr)
    {
        ++liveHandlers;
    }
    CountingHandler(const CountingHandler &other)
        : MessageHandler(other)
    {
        ++liveHandlers;
    }
    ~CountingHandler() override { --liveHandlers; }
    QString handle(const QString &source, Message *) override { return "handled by " + source; }
    std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<CountingHandler>(*this);
    }
};

// Accepts texts whose body is "|ok".
class TestMessage : public Message
{
public:
    explicit TestMessage(
        std::unique_ptr<MessageHandler> handler = nullptr, UtilsLib::Observer *observer = nullptr)
        : Message(std::move(handler), observer)
    { }
    std::unique_ptr<Message> clone() const override { return std::make_unique<TestMessage>(*this); }
    QString toText() override { return body; }
    bool fromText(const QString &text) override { return text.endsWith(QLatin1String("|ok")); }
    long messageId() const override { return id; }

    long id = 58;
    QString body = QStringLiteral("|A1");
};

class NetInfo : public SystemNetInfoInterface
{
public:
    QString getIpAddress() override { return QString::number(++calls); }
    QString getComputerName() override { return QStringLiteral("lab-07"); }
    int calls = 0;
};

int liveEntries = 0;

class Entry : public AppContextEntryInterface
{
public:
    explicit Entry(const QString &name)
        : m_name(name)
    {
        ++liveEntries;
    }
    ~Entry() override { --liveEntries; }
    QString getName() const override { return m_name; }

private:
    QString m_name;
};
} // namespace

class TestMessage_ : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Message::setTimeSource(&m_timeSource); }

    void messageIdFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<long>("id");
        QTest::addRow("auth request") << "54|20260304050607|1" << 54L;
        QTest::addRow("leading separator") << "|54|x" << 0L;
        QTest::addRow("no separator") << "abc" << 0L;
        QTest::addRow("not a number") << "x1|y" << 0L;
        QTest::addRow("empty") << "" << 0L;
        QTest::addRow("negative") << "-3|x" << -3L;
        QTest::addRow("only separator") << "|" << 0L;
        QTest::addRow("too large") << "99999999999999999999|x" << 0L;
    }

    void messageIdFromText()
    {
        QFETCH(QString, text);
        QTEST(Message::getMessageIdFromText(text), "id");
    }

    void fields_data()
    {
        // clang-format off
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addRow("inner runs folded") << "A  two   words " << "two words";
        QTest::addRow("code alone") << "A" << "";
        QTest::addRow("empty") << "" << "";
        QTest::addRow("tabs and newlines") << "B\tx\n\ny" << "x y";
        // clang-format on
    }

    void fields()
    {
        QFETCH(QString, field);
        QTEST(Message::stripFieldCode(field), "value");

        TestMessage message;
        QCOMPARE(message.buildMessageField('B', 42L), QStringLiteral("|B42"));
        QCOMPARE(message.buildMessageField('A', QStringLiteral("x y")), QStringLiteral("|Ax y"));
        QCOMPARE(message.buildMessageField('C', -7L), QStringLiteral("|C-7"));
    }

    void textForSending()
    {
        TestMessage message;
        const QString text = message.getTextForSending();
        QCOMPARE(text, QStringLiteral("58|20260304050607|A1"));
        // On the wire: UTF-8 and one NUL.
        QCOMPARE(text.toUtf8().size() + 1, 21);

        m_timeSource.setFormat(QStringLiteral("yyyy"));
        const QString short_ = message.getTextForSending();
        m_timeSource.setFormat(QStringLiteral("yyyyMMddhhmmss"));
        QCOMPARE(short_, QStringLiteral("58|2026|A1"));
    }

    void copyOwnsItsHandler()
    {
        liveHandlers = 0;
        {
            auto original = std::make_unique<TestMessage>(std::make_unique<CountingHandler>());
            TestMessage copy(*original);
            QVERIFY(copy.handler());
            QVERIFY(copy.handler() != original->handler());
            QCOMPARE(liveHandlers, 2);
            original.reset();
            QCOMPARE(liveHandlers, 1);
            QCOMPARE(copy.handle(QStringLiteral("Print Service"), QStringLiteral("58|t|ok")),
                QStringLiteral("handled by Print Service"));

            TestMessage bare;
            TestMessage bareCopy(bare);
            QVERIFY(!bareCopy.handler());

            bareCopy = copy;
            QVERIFY(bareCopy.handler());
            QCOMPARE(liveHandlers, 2);
            copy = bare;
            QVERIFY(!copy.handler());
            QCOMPARE(liveHandlers, 1);
            bareCopy = bareCopy;
            QCOMPARE(liveHandlers, 1);

            const std::unique_ptr<Message> cloned = bareCopy.clone();
            QCOMPARE(liveHandlers, 2);
        }
        QCOMPARE(liveHandlers, 0);
    }

    void copyKeepsObserversButNotMessageObserver()
    {
        EventRecorder recorder;
        TestMessage message(nullptr, &recorder);
        QCOMPARE(message.getMessageObserver(), &recorder);
        TestMessage copy(message);
        QCOMPARE(copy.getMessageObserver(), nullptr);
        QCOMPARE(copy.observersCount(), 1);
    }

    void handleFailures_data()
    {
        // clang-format off
        QTest::addColumn<bool>("withHandler");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("details");
        QTest::addRow("no handler") << false << "58|t|ok" << "No handler configured";
        QTest::addRow("rejected")
            << true << "58|t|bad"
            << "Received invalid message format from Print Service (Invalid Message=58|t|bad)";
        // clang-format on
    }

    void handleFailures()
    {
        QFETCH(bool, withHandler);
        QFETCH(QString, text);
        EventRecorder recorder;
        TestMessage message(withHandler ? std::make_unique<CountingHandler>() : nullptr, &recorder);
        QCOMPARE(message.handle(QStringLiteral("Print Service"), text), QString());
        QCOMPARE(recorder.events.size(), 1);
        const UtilsLib::ObservableEvent &event = recorder.events.constFirst();
        QCOMPARE(event.severityCode(), short(1));
        QCOMPARE(event.category(), QStringLiteral("Application"));
        QCOMPARE(event.senderId(), QStringLiteral("Message"));
        QCOMPARE(event.function(), QStringLiteral("handle"));
        QTEST(event.details(), "details");
    }

    void netInfoCaches()
    {
        TestMessage message;
        QCOMPARE(message.computerName(), QString());
        NetInfo info;
        Message::setSystemNetInfo(&info);
        QCOMPARE(message.computerName(), QStringLiteral("lab-07"));
        QCOMPARE(message.ipAddress(), QStringLiteral("1"));
        QCOMPARE(message.ipAddress(), QStringLiteral("1")); // cached, never refreshed
        message.setIpAddress(QStringLiteral("10.0.0.9"));
        QCOMPARE(message.ipAddress(), QStringLiteral("10.0.0.9"));
        Message::setSystemNetInfo(nullptr);
    }

    void join_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("joined");
        QTest::addRow("registration")
            << QStringList {"register", "jo:e", "C:\\net"} << "register:jo\\:e:C\\:\\\\net";
        QTest::addRow("empty list") << QStringList {} << "";
        QTest::addRow("one empty value") << QStringList {""} << "";
        QTest::addRow("empty middle") << QStringList {"a", "", "b"} << "a::b";
        QTest::addRow("backslash before colon") << QStringList {"\\:"} << "\\\\\\:";
        // clang-format on
    }

    void join()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, joined);
        QCOMPARE(MessageBase::join(values), joined);
        if (!values.isEmpty())
            QCOMPARE(MessageBase::tokenize(joined), values);
    }

    void tokenize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<bool>("throws");
        QTest::addRow("empty") << "" << QStringList {""} << false;
        QTest::addRow("trailing colon") << "a:" << QStringList {"a", ""} << false;
        QTest::addRow("escaped colon") << "a\\:b" << QStringList {"a:b"} << false;
        QTest::addRow("escaped backslash") << "a\\\\" << QStringList {"a\\"} << false;
        QTest::addRow("lone trailing backslash") << "a\\" << QStringList {} << true;
        QTest::addRow("backslash before letter") << "a\\b" << QStringList {} << true;
        QTest::addRow("only colons") << "::" << QStringList {"", "", ""} << false;
    }

    void tokenize()
    {
        QFETCH(QString, text);
        QFETCH(bool, throws);
        bool thrown = false;
        QStringList values;
        try {
            values = MessageBase::tokenize(text);
        } catch (const MessageFormatException &) {
            thrown = true;
        }
        QCOMPARE(thrown, throws);
        if (!throws)
            QTEST(values, "values");
    }

    void joinTokenizeRoundTrip()
    {
        // Values built from the characters that matter most to the escaping.
        QRandomGenerator random(2026);
        const QString alphabet = QStringLiteral("a:\\b|é ");
        for (int round = 0; round < 2000; ++round) {
            QStringList values;
            const int count = 1 + random.bounded(5);
            for (int i = 0; i < count; ++i) {
                QString value;
                const int length = random.bounded(6);
                for (int j = 0; j < length; ++j)
                    value += alphabet.at(random.bounded(int(alphabet.size())));
                values.append(value);
            }
            if (values == QStringList {QString()})
                continue; // joins to the empty text, which reads back as one empty value
            QCOMPARE(MessageBase::tokenize(MessageBase::join(values)), values);
        }
    }

    void appContext()
    {
        AppContext context;
        liveEntries = 0;
        context.setObject(std::make_unique<Entry>(QStringLiteral("one")));
        context.setObject(QStringLiteral("one"), std::make_unique<Entry>(QStringLiteral("one")));
        QCOMPARE(liveEntries, 1); // the replaced entry was destroyed
        QVERIFY(context.hasObject(QStringLiteral("one")));
        QVERIFY(!context.hasObject(QStringLiteral("two")));

        std::unique_ptr<AppContextEntryInterface> taken
            = context.removeFromContext(QStringLiteral("one"));
        QVERIFY(taken);
        QCOMPARE(liveEntries, 1); // removal does not destroy
        QVERIFY(!context.getObject(QStringLiteral("one")));
        QVERIFY(!context.removeFromContext(QStringLiteral("one")));
        taken.reset();

        context.setObject(std::make_unique<Entry>(QStringLiteral("a")));
        context.setObject(std::make_unique<Entry>(QStringLiteral("b")));
        AppContext copy(context);
        QVERIFY(!copy.hasObject(QStringLiteral("a")));
        context.clear();
        QCOMPARE(liveEntries, 0);
    }

    void handlerFindsObserverManager()
    {
        EventRecorder recorder;
        {
            CountingHandler lonely;
            QCOMPARE(lonely.observersCount(), 0);
        }
        AppContext::getContext().setObject(std::make_unique<ObserverManager>(&recorder));
        CountingHandler handler;
        QCOMPARE(handler.observersCount(), 1);
        const std::unique_ptr<MessageHandler> copy = handler.clone();
        QCOMPARE(copy->observersCount(), 1);
        AppContext::getContext().clear();
    }

    void recursiveMutex()
    {
        TsMutex recursive(true);
        recursive.lock();
        QVERIFY(recursive.tryLock());
        recursive.unlock();
        recursive.unlock();

        TsMutex plain(false);
        plain.lock();
        QVERIFY(!plain.tryLock());
        TsMutex copy(plain); // a new, unlocked mutex
        QVERIFY(copy.tryLock());
        copy.unlock();
        plain.unlock();
    }

private:
    FixedTimeSource m_timeSource;
};

QTEST_GUILESS_MAIN(TestMessage_)
#include "tst_message.moc"
