#include "messagetesthelpers.h"

#include "AuthenticateReq.h"
#include "AuthenticateReqHandler.h"
#include "AuthenticateResultMsg.h"
#include "AuthenticateResultMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "FakePreferences.h"
#include "GuestJobReq.h"
#include "GuestJobReqHandler.h"
#include "HexEncrypt.h"
#include "KoaSessionInfo.h"
#include "ModalHelper.h"
#include "RecordingMessageBox.h"
#include "TsBaseDialog.h"

#include <QLineEdit>
#include <QTest>

namespace {
const QString Stamp = FixedTimeSource::stamp();

// Types into the identification dialog once it is up, then presses the key;
// records which fields the dialog had.
void scriptDialog(const QString &id, const QString &pin, int key, bool *hadPin = nullptr)
{
    whenModal([=](QWidget *modal) {
        auto *idField = modal->findChild<QLineEdit *>(QStringLiteral("userIdDialog_UserIdEntry"));
        auto *pinField = modal->findChild<QLineEdit *>(QStringLiteral("userIdDialog_PinEntry"));
        if (hadPin)
            *hadPin = pinField != nullptr;
        if (idField)
            QTest::keyClicks(idField, id);
        if (pinField)
            QTest::keyClicks(pinField, pin);
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key(key));
    });
}
} // namespace

class TstAuthenticationHandlers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Tessaly::Core::Message::setTimeSource(&m_clock);
        TsBaseDialog::setDefaultTimeout(150);
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void flagsTable_data();
    void flagsTable();
    void authenticate_data();
    void authenticate();
    void verdict_data();
    void verdict();
    void guestQuestion_data();
    void guestQuestion();
    void nullMessages();

private:
    FixedTimeSource m_clock;
};

void TstAuthenticationHandlers::flagsTable_data()
{
    QTest::addColumn<long>("flags");
    QTest::addColumn<bool>("pin");
    QTest::addColumn<bool>("guests");
    // clang-format off
    QTest::addRow("0") << 0L << true << false;
    QTest::addRow("1") << 1L << false << false;
    QTest::addRow("3") << 3L << true << false;
    QTest::addRow("5") << 5L << false << true;
    QTest::addRow("7") << 7L << true << true;
    QTest::addRow("unlisted 6") << 6L << true << false;
    // clang-format on
}

void TstAuthenticationHandlers::flagsTable()
{
    QFETCH(long, flags);
    QTEST(AuthenticateReqHandler::requiresPin(flags), "pin");
    QTEST(AuthenticateReqHandler::guestsAllowed(flags), "guests");
}

void TstAuthenticationHandlers::authenticate_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("sessionId"); // already known to the session
    QTest::addColumn<QString>("sessionPin");
    QTest::addColumn<QString>("typedId");
    QTest::addColumn<QString>("typedPin");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("storedId");
    QTest::addColumn<QString>("storedPin");

    const QString pinHex = UtilsLib::HexEncrypt::encryptData(QStringLiteral("1234"));
    // clang-format off
    QTest::addRow("PIN required, typed, Return")
        << 0 << "" << "" << "jo" << "1234" << int(Qt::Key_Return) << true
        << "55|" + Stamp + "|0|JO|JO|" + pinHex << "JO" << "1234";
    QTest::addRow("no PIN field, empty PIN sent and kept")
        << 1 << "" << "" << "ann" << "" << int(Qt::Key_Enter) << true
        << "55|" + Stamp + "|0|ANN|ANN|" << "ANN" << "";
    QTest::addRow("guests, PIN")
        << 7 << "" << "" << "g1" << "1234" << int(Qt::Key_Return) << true
        << "55|" + Stamp + "|0|G1|G1|" + pinHex << "G1" << "1234";
    QTest::addRow("Escape cancels the job, nothing stored")
        << 3 << "" << "" << "jo" << "1234" << int(Qt::Key_Escape) << true
        << "7|" + Stamp << "" << "";
    QTest::addRow("timeout cancels the job")
        << 0 << "" << "" << "" << "" << 0 << true << "7|" + Stamp << "" << "";
    QTest::addRow("second request answered from the session")
        << 0 << "JO" << "1234" << "" << "" << 0 << false
        << "55|" + Stamp + "|0|JO|JO|" + pinHex << "JO" << "1234";
    // clang-format on
}

void TstAuthenticationHandlers::authenticate()
{
    QFETCH(int, flags);
    QFETCH(QString, sessionId);
    QFETCH(QString, sessionPin);
    QFETCH(QString, typedId);
    QFETCH(QString, typedPin);
    QFETCH(int, key);
    QFETCH(bool, dialogShown);

    FakePreferences preferences;
    FakeReservationSession reservation;
    KoaSessionInfo session;
    session.setUserId(sessionId);
    session.setUserPin(sessionPin);
    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());
    processing.show();
    EventRecorder recorder;
    AuthenticateReq request(std::make_unique<AuthenticateReqHandler>(
        &preferences, &session, &reservation, &processing, 45, &recorder));

    // Nothing is armed where no dialog is due: one that opens anyway times
    // out and the answer is a cancel.
    bool shown = false;
    if (dialogShown)
        whenModal([&shown](QWidget *) { shown = true; });
    if (key != 0)
        scriptDialog(typedId, typedPin, key);
    const QString answer
        = request.handle(QStringLiteral("ps"), received(54, QStringLiteral("|%1").arg(flags)));
    QTEST(answer, "answer");
    QTRY_COMPARE(shown, dialogShown);
    QVERIFY(processing.isHidden());
    QTEST(session.userId(), "storedId");
    QTEST(session.userPin(), "storedPin");
    QCOMPARE(recorder.count(QStringLiteral("Verbose User Id Input Filter Enabled: 0")),
        dialogShown ? 1 : 0);
}

void TstAuthenticationHandlers::verdict_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("session"); // id, deposit, max credit, library, flags

    const QString balances
        = QStringLiteral("|3|F1.00|N5.00|G2.00|H3.00|I4.00|J6.00|K1|L0|P7.00|Q1");
    const QStringList stored {QStringLiteral("JO"), QStringLiteral("1.00 5.00 2.00 3.00 4.00 6.00"),
        QStringLiteral("7.00"), QStringLiteral("deposit expired 1 credit expired 0 library 1")};
    // clang-format off
    QTest::addRow("balances, no ack")
        << received(56, balances) << "No Response" << QStringList() << stored;
    QTest::addRow("balances, ack")
        << received(56, balances + "|O1") << "80|" + Stamp << QStringList() << stored;
    QTest::addRow("failure, no ack")
        << received(56, "|1|xBad login|#Unknown user|A0") << "86|" + Stamp
        << QStringList {"error|Bad login|Unknown user"}
        << QStringList {"", "", "", ""};
    QTest::addRow("failure, ack")
        << received(56, "|0|xBad login|#Unknown user|A1") << "80|" + Stamp
        << QStringList {"error|Bad login|Unknown user"}
        << QStringList {"", "", "", ""};
    // clang-format on
}

void TstAuthenticationHandlers::verdict()
{
    QFETCH(QString, text);
    QFETCH(QStringList, session);

    KoaSessionInfo info;
    info.setUserId(QStringLiteral("JO"));
    info.setUserPin(QStringLiteral("1234"));
    RecordingMessageBox box;
    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());
    processing.show();
    AuthenticateResultMsg message(
        std::make_unique<AuthenticateResultMsgHandler>(&info, &processing, &box, nullptr));
    QTEST(message.handle(QStringLiteral("ps"), text), "answer");
    QTEST(box.shown(), "shown");
    QVERIFY(processing.isHidden());

    const bool failed = session.constFirst().isEmpty();
    QCOMPARE(info.userId(), session.at(0));
    QCOMPARE(info.userPin(), failed ? QString() : QStringLiteral("1234"));
    if (failed) {
        // The balances of the session stay as they were.
        QCOMPARE(info.depositBalance(), QString::fromLatin1(KoaSessionInfo::ZERO_AMOUNT_TEXT));
        QVERIFY(!info.hasAccountInfo());
        return;
    }
    QCOMPARE(
        QStringList({info.allocationBalance(), info.maxAllocationBalance(), info.depositBalance(),
                        info.maxDepositBalance(), info.creditBalance(), info.maxCreditBalance()})
            .join(QLatin1Char(' ')),
        session.at(1));
    QCOMPARE(info.libraryDepositBalance(), session.at(2));
    QCOMPARE(QStringLiteral("deposit expired %1 credit expired %2 library %3")
                 .arg(int(info.isDepositExpired()))
                 .arg(int(info.isCreditExpired()))
                 .arg(int(info.isLibraryDepositEnabled())),
        session.at(3));
}

void TstAuthenticationHandlers::guestQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("dedicated");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("sessionReset");
    // clang-format off
    QTest::addRow("Yes, dedicated") << true << true << "53|" + Stamp + "|1" << false;
    QTest::addRow("Yes, shared") << true << false << "53|" + Stamp + "|1" << false;
    QTest::addRow("No, dedicated") << false << true << "53|" + Stamp + "|0" << true;
    QTest::addRow("No, shared") << false << false << "53|" + Stamp + "|0" << false;
    // clang-format on
}

void TstAuthenticationHandlers::guestQuestion()
{
    QFETCH(bool, yes);
    QFETCH(bool, dedicated);
    QFETCH(bool, sessionReset);

    FakePreferences preferences;
    preferences.dedicated = dedicated;
    KoaSessionInfo info;
    info.setUserId(QStringLiteral("JO"));
    info.setMaxCreditBalance(QStringLiteral("9.00"));
    info.setPageCountForPendingPrintJob(4);
    RecordingMessageBox box;
    box.answerYes = yes;
    GuestJobReq request(std::make_unique<GuestJobReqHandler>(&preferences, &info, &box, nullptr));
    QTEST(request.handle(QStringLiteral("ps"), received(52, QString())), "answer");
    QCOMPARE(box.shown(),
        QStringList {QStringLiteral("question|%1|%2")
                         .arg(QString::fromLatin1(GuestJobReqHandler::GuestPromptCaption),
                             QString::fromLatin1(GuestJobReqHandler::GuestPromptText))});
    QCOMPARE(info.userId(), sessionReset ? QString() : QStringLiteral("JO"));
    QCOMPARE(info.hasCreditInfo(), !sessionReset);
    QCOMPARE(info.pageCountForPendingPrintJob(), sessionReset ? 0 : 4);
}

void TstAuthenticationHandlers::nullMessages()
{
    FakePreferences preferences;
    KoaSessionInfo info;
    RecordingMessageBox box;
    AuthenticateReqHandler request(&preferences, &info, nullptr, nullptr, 45, nullptr);
    AuthenticateResultMsgHandler verdict(&info, nullptr, &box, nullptr);
    GuestJobReqHandler guest(&preferences, &info, &box, nullptr);
    QCOMPARE(request.handle(QStringLiteral("ps"), nullptr), QString());
    QCOMPARE(verdict.handle(QStringLiteral("ps"), nullptr), QString());
    QCOMPARE(guest.handle(QStringLiteral("ps"), nullptr), QString());
    QVERIFY(box.calls.isEmpty());
}

QTEST_MAIN(TstAuthenticationHandlers)
#include "tst_authenticationhandlers.moc"
