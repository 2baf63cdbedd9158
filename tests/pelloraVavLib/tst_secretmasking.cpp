#include "AuthenticateMsg.h"
#include "AuthenticateReq.h"
#include "EventRecorder.h"
#include "HexEncrypt.h"
#include "KoaConnection.h"
#include "KoaMessageDispatcher.h"
#include "MessageHandler.h"
#include "PrintClientMessager.h"
#include "SettingsMsg.h"
#include "StalloSessionRegistry.h"
#include "TestHttpResponder.h"
#include "TraceMask.h"
#include "TsHttpMac.h"
#include "messagetesthelpers.h"

#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using Tessaly::Core::TraceMask;

namespace {

// Answers every request with the text the test gives it.
class AnswerHandler : public Tessaly::Core::MessageHandler
{
public:
    explicit AnswerHandler(QString *answer)
        : MessageHandler(nullptr)
        , m_answer(answer)
    { }
    QString handle(const QString &, Tessaly::Core::Message *) override { return *m_answer; }
    [[nodiscard]] std::unique_ptr<MessageHandler> clone() const override
    {
        return std::make_unique<AnswerHandler>(*this);
    }

private:
    QString *m_answer;
};

const QString Stamp = FixedTimeSource::stamp();

// A message added later, with a PIN in a coded field: masked because it says so.
constexpr long KioskPinMsgId = 97;
[[maybe_unused]] const bool KioskPinDeclared
    = TraceMask::declare(KioskPinMsgId, {QStringLiteral("P"), {}, 0});

} // namespace

// Every text that crosses the connection is traced by the messager, the
// connection, the dispatcher and the message; none of them may show a PIN or
// the staff password, and the bytes on the wire stay what they were.
class TestSecretMasking : public QObject
{
    Q_OBJECT

private slots:
    // The declarations are made with the classes' constants: a program that
    // has the class has them, as this test has these two.
    void initTestCase()
    {
        QVERIFY(AuthenticateMsg::SECRET_FIELDS_DECLARED);
        QVERIFY(SettingsMsg::SECRET_FIELDS_DECLARED);
    }
    void secretsNeverReachTheTrace_data();
    void secretsNeverReachTheTrace();
};

void TestSecretMasking::secretsNeverReachTheTrace_data()
{
    QTest::addColumn<QString>("query"); // empty: a text on the connection
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("masked");
    QTest::addColumn<QStringList>("secrets");

    FixedTimeSource clock;
    Tessaly::Core::Message::setTimeSource(&clock);
    const QString pin = UtilsLib::HexEncrypt::encryptData(QStringLiteral("4711"));
    const QString other = UtilsLib::HexEncrypt::encryptData(QStringLiteral("0815"));
    const QString staff = UtilsLib::HexEncrypt::encryptData(QStringLiteral("s3cret pass"));
    const QString mask = TraceMask::Mask;
    // The answers as the client writes them: the expected trace is the text
    // with the secret value replaced, whatever field the class put it in.
    const auto answer = [](const QString &userId, const QString &userPin) {
        AuthenticateMsg message;
        message.setUserId(userId);
        message.setUserPin(userPin);
        return message.getTextForSending();
    };
    const QString withPin = answer(QStringLiteral("jdoe"), pin);
    const QString withoutPin = answer(QStringLiteral("jdoe"), QString());
    const QString withoutUser = answer(QString(), pin);
    Tessaly::Core::Message::setTimeSource(nullptr);
    const QString head55 = QStringLiteral("55|") + Stamp;
    const QString head58 = QStringLiteral("58|") + Stamp;
    const QString head97 = QStringLiteral("97|") + Stamp;

    // clang-format off
    QTest::addRow("55 with a PIN")
        << QString() << withPin << QString(withPin).replace(pin, mask) << QStringList {pin};
    QTest::addRow("55 without a PIN") << QString() << withoutPin << withoutPin << QStringList();
    QTest::addRow("55 without a user id")
        << QString() << withoutUser << QString(withoutUser).replace(pin, mask) << QStringList {pin};
    QTest::addRow("55 id written 055")
        << QString() << "0" + withPin << "0" + QString(withPin).replace(pin, mask) << QStringList {pin};
    QTest::addRow("55 cut short")
        << QString() << head55 + "|0|jdoe|" + pin << "55|" + mask + "|" + mask + "|" + mask + "|" + mask
        << QStringList {pin};
    QTest::addRow("58 with the staff password")
        << QString() << head58 + "|A" + staff + "|B1|C20|JMain Library"
        << head58 + "|A" + mask + "|B1|C20|JMain Library" << QStringList {staff};
    QTest::addRow("58 with the password twice, late")
        << QString() << head58 + "|JLab|A" + staff + "||A" + other
        << head58 + "|JLab|A" + mask + "||A" + mask << QStringList {staff, other};
    QTest::addRow("58 without its time stamp")
        << QString() << "58|A" + staff << "58|A" + mask << QStringList {staff};
    QTest::addRow("a class declared later")
        << QString() << head97 + "|Ujdoe|P" + pin << head97 + "|Ujdoe|P" + mask << QStringList {pin};
    QTest::addRow("56 that looks like one")
        << QString() << "56|" + Stamp + "|5|HLogin Failed|A" + pin + "|A0"
        << "56|" + Stamp + "|5|HLogin Failed|A" + pin + "|A0" << QStringList();
    QTest::addRow("id 550 that looks like 55")
        << QString() << "550|" + Stamp + "|0|jdoe|jdoe|" + pin
        << "550|" + Stamp + "|0|jdoe|jdoe|" + pin << QStringList();
    QTest::addRow("58 id alone") << QString() << "58|" << "58|" << QStringList();
    QTest::addRow("reservation PIN")
        << "patron_pin" << pin << mask << QStringList {pin, QStringLiteral("4711")};
    QTest::addRow("reservation user id")
        << "patron_id" << UtilsLib::HexEncrypt::encryptData(QStringLiteral("jdoe"))
        << UtilsLib::HexEncrypt::encryptData(QStringLiteral("jdoe")) << QStringList();
    // clang-format on
}

void TestSecretMasking::secretsNeverReachTheTrace()
{
    QFETCH(QString, query);
    QFETCH(QString, text);
    QFETCH(QString, masked);
    QFETCH(QStringList, secrets);

    EventRecorder recorder;
    if (query.isEmpty()) {
        QCOMPARE(TraceMask::wireText(text), masked);

        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QString answer = text;
        AuthenticateReq request(std::make_unique<AnswerHandler>(&answer), &recorder);
        KoaMessageDispatcher dispatcher(&recorder);
        dispatcher.registerMessage(54, &request);
        // A 55 or 58 text that a request cannot parse is traced by the message.
        AuthenticateReq rejecting(std::make_unique<AnswerHandler>(&answer), &recorder);
        dispatcher.registerMessage(55, &rejecting);
        dispatcher.registerMessage(58, &rejecting);
        const long id = Tessaly::Core::Message::getMessageIdFromText(text);
        const bool rejected = id == 55 || id == 58;
        PrintClientMessager messager(&recorder);
        KoaConnection connection(&dispatcher, &messager, &recorder);
        messager.setMessageListener(&connection);
        messager.connectToServer(QStringLiteral("127.0.0.1"), server.serverPort());
        QVERIFY(server.waitForNewConnection(5000));
        QTcpSocket *service = server.nextPendingConnection();
        QTRY_VERIFY(messager.isConnected());

        // Once as the client's answer to a request, once as a text the client
        // receives and rejects, or cannot handle and repeats in its answer.
        service->write(("54|" + Stamp + "|1").toUtf8() + '\0' + text.toUtf8() + '\0');
        const QString second = rejected ? QString() : "Message Not Handled: " + text;
        const QByteArray wire = text.toUtf8() + '\0' + second.toUtf8() + '\0';
        QByteArray sent;
        QTRY_VERIFY((sent += service->readAll()).size() >= wire.size());
        QCOMPARE(sent, wire);
        messager.setMessageListener(nullptr);
        QVERIFY(recorder.details().contains("Sending: " + masked));
        QVERIFY(recorder.details().contains(rejected
                ? "Received invalid message format from Print Service (Invalid Message=" + masked
                    + ")"
                : "Sent: Message Not Handled: " + masked));
    } else {
        TestHttpResponder service;
        QVERIFY(service.startListening());
        service.setResponse('/' + query.toUtf8(), TestHttpResponder::reply(200, text.toUtf8()));
        QTemporaryDir dir;
        TsHttpMac http;
        StalloSessionRegistry registry(&http, &recorder, service.port(),
            std::make_unique<QSettings>(dir.filePath("stallo.ini"), QSettings::IniFormat));
        registry.setHost(QStringLiteral("127.0.0.1"));
        const QString decrypted = UtilsLib::HexEncrypt::decryptData(text);
        QCOMPARE(query == "patron_pin" ? registry.getUserPin() : registry.getUserId(), decrypted);
        QVERIFY(recorder.details().contains("response string: " + masked));
    }

    const QStringList details = recorder.details();
    QVERIFY(!details.isEmpty());
    for (const QString &secret : std::as_const(secrets)) {
        for (const QString &line : details)
            QVERIFY2(!line.contains(secret), qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(TestSecretMasking)
#include "tst_secretmasking.moc"
