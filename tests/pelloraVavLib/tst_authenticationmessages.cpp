#include "messagetesthelpers.h"

#include "AuthenticateMsg.h"
#include "AuthenticateReq.h"
#include "AuthenticateResultMsg.h"
#include "GuestJobMsg.h"
#include "GuestJobReq.h"
#include "HexEncrypt.h"

#include <QTest>
#include <QVariantMap>

namespace {

QVariantMap fieldsOf(const AuthenticateResultMsg &m)
{
    return {{"subset", m.messageSubset()}, {"header", m.messageHeader()}, {"text", m.messageText()},
        {"allocation", m.allocationBalance()}, {"maxAllocation", m.maxAllocationBalance()},
        {"deposit", m.depositBalance()}, {"maxDeposit", m.maxDepositBalance()},
        {"credit", m.creditBalance()}, {"maxCredit", m.maxCreditBalance()},
        {"libraryDeposit", m.libraryDepositBalance()}, {"depositExpired", m.isDepositExpired()},
        {"creditExpired", m.isCreditExpired()},
        {"libraryDepositEnabled", m.isLibraryDepositEnabled()}, {"ack", m.ackRequired()}};
}

// A verdict that differs from the defaults everywhere, to see what a parse keeps.
void fillResult(AuthenticateResultMsg &m)
{
    m.setMessageSubset(9);
    m.setMessageHeader("old header");
    m.setMessageText("old text");
    m.setAllocationBalance("a");
    m.setMaxAllocationBalance("b");
    m.setDepositBalance("c");
    m.setMaxDepositBalance("d");
    m.setCreditBalance("e");
    m.setMaxCreditBalance("f");
    m.setLibraryDepositBalance("g");
    m.setIsDepositExpired(true);
    m.setIsCreditExpired(true);
    m.setLibraryDepositEnabled(true);
    m.setAckRequired(true);
}

QVariantMap with(QVariantMap base, const QVariantMap &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        base.insert(it.key(), it.value());
    return base;
}

} // namespace

class tst_AuthenticationMessages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Tessaly::Core::Message::setTimeSource(&m_clock); }

    void authenticateReqParse_data();
    void authenticateReqParse();
    void authenticateMsgParse_data();
    void authenticateMsgParse();
    void authenticateResultParse_data();
    void authenticateResultParse();
    void guestJobMsgParse_data();
    void guestJobMsgParse();
    void answerTexts_data();
    void answerTexts();
    void authenticateMsgRoundTrip_data();
    void authenticateMsgRoundTrip();
    void handleReportsRejectedText_data();
    void handleReportsRejectedText();
    void cloneCopiesFieldsAndHandler();

private:
    FixedTimeSource m_clock;
};

void tst_AuthenticationMessages::authenticateReqParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("showFlags");

    // The object holds 7 before each parse, so a rejected text must leave 7.
    QTest::addRow("flags") << received(54, "|3") << true << 3;
    QTest::addRow("negative flags") << received(54, "|-2") << true << -2;
    QTest::addRow("not a number reads 0") << received(54, "|x3") << true << 0;
    QTest::addRow("doubled separator") << received(54, "||3") << true << 3;
    QTest::addRow("trailing separator") << received(54, "|3|") << true << 3;
    QTest::addRow("flags missing") << received(54, "") << false << 7;
    QTest::addRow("fourth field") << received(54, "|3|4") << false << 7;
    QTest::addRow("empty") << QString() << false << 7;
}

void tst_AuthenticationMessages::authenticateReqParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, showFlags);

    AuthenticateReq req;
    QCOMPARE(req.showFlags(), 1);
    req.setShowFlags(7);
    QCOMPARE(req.fromText(text), accepted);
    QCOMPARE(req.showFlags(), showFlags);
}

void tst_AuthenticationMessages::authenticateMsgParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("isGuest");
    QTest::addColumn<QString>("userId");
    QTest::addColumn<QString>("userPin");

    QTest::addRow("member")
        << received(55, "|0|jo|ignored|a1b2") << true << false << "jo" << "a1b2";
    QTest::addRow("guest") << received(55, "|5|g|g|p") << true << true << "g" << "p";
    QTest::addRow("guest flag not a number")
        << received(55, "|yes|u|u|p") << true << false << "u" << "p";
    QTest::addRow("empty pin, 5 fields")
        << received(55, "|0|jo|jo|") << false << true << "old" << "oldpin";
    QTest::addRow("seven fields")
        << received(55, "|0|a|a|p|x") << false << true << "old" << "oldpin";
    // clang-format on
}

void tst_AuthenticationMessages::authenticateMsgParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    AuthenticateMsg msg;
    msg.setIsGuest(true);
    msg.setUserId("old");
    msg.setUserPin("oldpin");
    QCOMPARE(msg.fromText(text), accepted);
    QTEST(msg.isGuest(), "isGuest");
    QTEST(msg.userId(), "userId");
    QTEST(msg.userPin(), "userPin");
}

void tst_AuthenticationMessages::authenticateResultParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariantMap>("changes"); // to the defaults; rejected rows: to the old values

    QTest::addRow("balances") << received(56, "|3|F$1.00|N$5.00|G2|H3|I4|J5|K1|L1|O1|P6|Q1") << true
                              << QVariantMap {{"subset", 3}, {"allocation", "$1.00"},
                                     {"maxAllocation", "$5.00"}, {"deposit", "2"},
                                     {"maxDeposit", "3"}, {"credit", "4"}, {"maxCredit", "5"},
                                     {"depositExpired", true}, {"creditExpired", true},
                                     {"ack", true}, {"libraryDeposit", "6"},
                                     {"libraryDepositEnabled", true}};
    QTest::addRow("three coded fields is enough")
        << received(56, "|3|F1|G2|I3") << true
        << QVariantMap {{"subset", 3}, {"allocation", "1"}, {"deposit", "2"}, {"credit", "3"}};
    QTest::addRow("two coded fields are too few")
        << received(56, "|3|F1|G2") << false << QVariantMap {};
    QTest::addRow("M is ignored, K1 sets, later K0 clears")
        << received(56, "|3|M123|K1|F&#36;1|K0") << true
        << QVariantMap {{"subset", 3}, {"allocation", "&#36;1"}};
    QTest::addRow("values are not trimmed, code alone is empty")
        << received( 56, "|3|F 1 |G|Zunknown") << true
        << QVariantMap {{"subset", 3}, {"allocation", " 1 "}};
    QTest::addRow("message: first character dropped whatever it is")
        << received(56, "|1|xBad login|#Unknown user|A1|extra") << true
        << QVariantMap {
               {"subset", 1}, {"header", "Bad login"}, {"text", "Unknown user"}, {"ack", true}};
    QTest::addRow("message without ack")
        << received( 56, "|0|HH|TT|A0") << true
        << QVariantMap {{"subset", 0}, {"header", "H"}, {"text", "T"}};
    QTest::addRow("message: a code alone gives empty texts")
        << received(56, "|-1|H|T|Z") << true << QVariantMap {{"subset", -1}};
    QTest::addRow("subset not a number reads 0")
        << received(56, "|x|HH|TT|A1") << true
        << QVariantMap {{"subset", 0}, {"header", "H"}, {"text", "T"}, {"ack", true}};
    QTest::addRow("five fields") << received(56, "|1|HH|TT") << false << QVariantMap {};
    QTest::addRow("empty pieces do not count")
        << received(56, "|1||HH||TT|") << false << QVariantMap {};
    // clang-format on
}

void tst_AuthenticationMessages::authenticateResultParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariantMap, changes);

    const QVariantMap defaults = fieldsOf(AuthenticateResultMsg());
    AuthenticateResultMsg msg;
    fillResult(msg);
    const QVariantMap old = fieldsOf(msg);

    QCOMPARE(msg.fromText(text), accepted);
    // An accepted verdict starts from the defaults: nothing of the previous patron's
    // verdict survives.
    QCOMPARE(fieldsOf(msg), with(accepted ? defaults : old, changes));
}

void tst_AuthenticationMessages::guestJobMsgParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("isGuestJob");

    QTest::addRow("yes") << received(53, "|1") << true << true;
    QTest::addRow("no") << received(53, "|0") << true << false;
    QTest::addRow("not a number") << received(53, "|y") << true << false;
    QTest::addRow("missing") << received(53, "|") << false << true;
    QTest::addRow("extra") << received(53, "|1|1") << false << true;
}

void tst_AuthenticationMessages::guestJobMsgParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    GuestJobMsg msg;
    msg.setIsGuestJob(true);
    QCOMPARE(msg.fromText(text), accepted);
    QTEST(msg.isGuestJob(), "isGuestJob");

    GuestJobReq req;
    QVERIFY(req.fromText(text)); // every text is a guest job request
}

void tst_AuthenticationMessages::answerTexts_data()
{
    // clang-format off
    QTest::addColumn<QSharedPointer<Tessaly::Core::Message>>("message");
    QTest::addColumn<QString>("expected");

    const QString stamp = FixedTimeSource::stamp();
    auto noPin = QSharedPointer<AuthenticateMsg>::create();
    noPin->setUserId("jo");
    QTest::addRow("no pin ends in a separator")
        << noPin.staticCast<Tessaly::Core::Message>() << "55|" + stamp + "|0|jo|jo|";

    auto withPin = QSharedPointer<AuthenticateMsg>::create();
    withPin->setUserId("12345");
    withPin->setUserPin(UtilsLib::HexEncrypt::encryptData("0042"));
    QTest::addRow("encoded pin")
        << withPin.staticCast<Tessaly::Core::Message>()
        << "55|" + stamp + "|0|12345|12345|" + UtilsLib::HexEncrypt::encryptData("0042");

    auto guest = QSharedPointer<AuthenticateMsg>::create();
    guest->setIsGuest(true);
    QTest::addRow("guest, no id")
        << guest.staticCast<Tessaly::Core::Message>() << "55|" + stamp + "|1|||";

    // A separator typed into the user id would shift the Print Service's fields.
    auto piped = QSharedPointer<AuthenticateMsg>::create();
    piped->setUserId(QStringLiteral("a|b") + QChar(0) + "c");
    piped->setUserPin("p");
    QTest::addRow("separator and NUL left out")
        << piped.staticCast<Tessaly::Core::Message>() << "55|" + stamp + "|0|abc|abc|p";

    auto yes = QSharedPointer<GuestJobMsg>::create();
    yes->setIsGuestJob(true);
    QTest::addRow("guest job yes")
        << yes.staticCast<Tessaly::Core::Message>() << "53|" + stamp + "|1";
    QTest::addRow("guest job no")
        << QSharedPointer<GuestJobMsg>::create().staticCast<Tessaly::Core::Message>()
        << "53|" + stamp + "|0";
    QTest::addRow("request body empty")
        << QSharedPointer<AuthenticateReq>::create().staticCast<Tessaly::Core::Message>()
        << "54|" + stamp;
    QTest::addRow("result not used")
        << QSharedPointer<AuthenticateResultMsg>::create().staticCast<Tessaly::Core::Message>()
        << "56|" + stamp + "Not Used";
    QTest::addRow("guest request not used")
        << QSharedPointer<GuestJobReq>::create().staticCast<Tessaly::Core::Message>()
        << "52|" + stamp + "NOT USED";
    // clang-format on
}

void tst_AuthenticationMessages::answerTexts()
{
    QFETCH(QSharedPointer<Tessaly::Core::Message>, message);
    QFETCH(QString, expected);
    QCOMPARE(message->getTextForSending(), expected);
}

void tst_AuthenticationMessages::authenticateMsgRoundTrip_data()
{
    // clang-format off
    QTest::addColumn<bool>("guest");
    QTest::addColumn<QString>("userId");
    QTest::addColumn<QString>("pin");
    QTest::addColumn<bool>("accepted");

    QTest::addRow("with pin") << false << "jo" << UtilsLib::HexEncrypt::encryptData("1234") << true;
    QTest::addRow("guest with pin") << true << "g" << "ab" << true;
    QTest::addRow("empty pin gives 5 fields") << false << "jo" << QString() << false;
    // clang-format on
}

void tst_AuthenticationMessages::authenticateMsgRoundTrip()
{
    QFETCH(bool, guest);
    QFETCH(QString, userId);
    QFETCH(QString, pin);
    QFETCH(bool, accepted);

    AuthenticateMsg sent;
    sent.setIsGuest(guest);
    sent.setUserId(userId);
    sent.setUserPin(pin);
    AuthenticateMsg parsed;
    QCOMPARE(parsed.fromText(sent.getTextForSending()), accepted);
    if (accepted) {
        QCOMPARE(parsed.isGuest(), guest);
        QCOMPARE(parsed.userId(), userId);
        QCOMPARE(parsed.userPin(), pin);
    }
}

void tst_AuthenticationMessages::handleReportsRejectedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer");

    QTest::addRow("accepted") << received(54, "|2") << "handled 54";
    QTest::addRow("rejected") << received(54, "|2|3") << "";
}

void tst_AuthenticationMessages::handleReportsRejectedText()
{
    QFETCH(QString, text);
    QFETCH(QString, answer);

    EventRecorder events;
    EventRecorder handlerEvents;
    auto ownedHandler = std::make_unique<RecordingHandler>(&handlerEvents);
    RecordingHandler *handler = ownedHandler.get();
    AuthenticateReq req(std::move(ownedHandler), &events);
    QCOMPARE(req.handle("Print Service", text), answer);
    QCOMPARE(handler->calls, answer.isEmpty() ? 0 : 1);
    if (answer.isEmpty()) {
        QCOMPARE(events.events.size(), 1);
        QCOMPARE(events.errorCount(), 1);
        QCOMPARE(events.events.first().details(),
            QString("Received invalid message format from Print Service (Invalid Message=%1)")
                .arg(text));
    } else {
        QCOMPARE(events.events.size(), 0);
        QCOMPARE(handler->lastSource, QString("Print Service"));
        QCOMPARE(req.showFlags(), 2);
    }
}

void tst_AuthenticationMessages::cloneCopiesFieldsAndHandler()
{
    EventRecorder events;
    AuthenticateResultMsg original(std::make_unique<RecordingHandler>(&events), &events);
    QVERIFY(original.fromText(received(56, "|3|F1|G2|I3|K1")));
    const std::unique_ptr<AuthenticateResultMsg> copy = cloneAs(original);
    QCOMPARE(fieldsOf(*copy), fieldsOf(original));
    QVERIFY(copy->handler());
    QVERIFY(copy->handler() != original.handler());

    AuthenticateMsg answer;
    answer.setUserId("u");
    answer.setUserPin("p");
    answer.setIsGuest(true);
    const std::unique_ptr<AuthenticateMsg> answerCopy = cloneAs(answer);
    QCOMPARE(answerCopy->getTextForSending(), answer.getTextForSending());
    QVERIFY(!answerCopy->handler());

    AuthenticateReq req;
    req.setShowFlags(5);
    QCOMPARE(cloneAs(req)->showFlags(), 5);
    GuestJobMsg guest;
    guest.setIsGuestJob(true);
    QVERIFY(cloneAs(guest)->isGuestJob());
}

QTEST_GUILESS_MAIN(tst_AuthenticationMessages)
#include "tst_authenticationmessages.moc"
