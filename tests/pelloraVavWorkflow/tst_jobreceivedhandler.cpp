#include "messagetesthelpers.h"

#include "ClientProcessingDialog.h"
#include "EnvironmentProvider.h"
#include "FakePreferences.h"
#include "JobReceivedMsg.h"
#include "JobReceivedMsgHandler.h"
#include "KoaSessionInfo.h"
#include "ModalHelper.h"
#include "PageCountDialogController.h"
#include "PageCountValidator.h"
#include "TsBaseDialog.h"
#include "UserIdDialogModel.h"

#include <QLineEdit>
#include <QTest>

#include <climits>
#include <optional>

namespace {
const QString Stamp = FixedTimeSource::stamp();
const QString Machine = QStringLiteral("lab-mac-07");

class FixedEnvironment : public EnvironmentProvider
{
public:
    QString getUserDomain() override { return QString(); }
    QString getUserName() override { return QStringLiteral("patron7"); }
    QString getMachineName() override { return Machine; }
    bool isUserInDomain() override { return false; }
    bool isServiceInstalled(const QString &) override { return false; }
};

// Answers as told and keeps the page count it was asked about.
class ScriptedValidator : public PageCountValidator
{
public:
    bool isOkToPrint(int pageCount) override
    {
        askedPages = pageCount;
        return allows;
    }
    bool allows = true;
    std::optional<int> askedPages;
};

// The patron's answers scripted; an unscripted identification runs the
// handler's own, which answers from the session or opens the real dialog.
class ScriptedHandler : public JobReceivedMsgHandler
{
public:
    using JobReceivedMsgHandler::JobReceivedMsgHandler;

    bool userAcceptsPageCount(
        PageCountDialogController *controller, PageCountDialogModel *model) override
    {
        seenTimeout = controller->timeout();
        seenSession = controller->sessionInfo();
        seenPages = model->pageCount();
        return accepts;
    }
    bool getUserId(UserIdDialogModel *model) override
    {
        ++identityAsked;
        identityModelPlain = !model->pinRequired() && !model->guestAllowed();
        return identifies.has_value() ? *identifies : JobReceivedMsgHandler::getUserId(model);
    }

    bool accepts = false;
    std::optional<bool> identifies;
    long seenTimeout = 0;
    KoaSessionInfo *seenSession = nullptr;
    long seenPages = -1;
    int identityAsked = 0;
    bool identityModelPlain = false;
};

QString printAnswer(const QString &description, const QString &locale)
{
    return QStringLiteral("5|%1|A%2|B%3").arg(Stamp, description, locale);
}
} // namespace

class TstJobReceivedHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Tessaly::Core::Message::setTimeSource(&m_clock);
        TsBaseDialog::setDefaultTimeout(2000);
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void answers_data();
    void answers();
    void realDialogs_data();
    void realDialogs();
    void nullMessage();

private:
    FixedTimeSource m_clock;
};

void TstJobReceivedHandler::answers_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("accepts");
    QTest::addColumn<bool>("allows");
    QTest::addColumn<int>("identifies"); // -1: the handler's own answer
    QTest::addColumn<QString>("sessionId");
    QTest::addColumn<bool>("useDescription");
    QTest::addColumn<QString>("pcDescription");
    QTest::addColumn<bool>("dedicated");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("validatorAsked"); // -1: not asked
    QTest::addColumn<int>("identityAsked");
    QTest::addColumn<QString>("sessionIdAfter");
    QTest::addColumn<int>("pending");

    const QString desc = QStringLiteral("Reference Desk PC 4");
    const QString cancel = "7|" + Stamp;
    // clang-format off
    QTest::addRow("accepted, description off: machine name")
        << "|A3|B$0.10|E$0.30" << true << true << -1 << "JO" << false << desc << false
        << printAnswer(Machine, "fr_ca") << 3 << 0 << "JO" << 3;
    QTest::addRow("accepted, description on: the reservation service's")
        << "|A3" << true << true << -1 << "" << true << desc << false
        << printAnswer(desc, "fr_ca") << 3 << 0 << "" << 3;
    QTest::addRow("description on but none known: machine name")
        << "|A3" << true << true << -1 << "" << true << "" << false
        << printAnswer(Machine, "fr_ca") << 3 << 0 << "" << 3;
    QTest::addRow("declined: validator not asked")
        << "|A7" << false << true << -1 << "JO" << false << desc << false
        << cancel << -1 << 0 << "JO" << 7;
    QTest::addRow("refused by the validator")
        << "|A12" << true << false << -1 << "JO" << false << desc << false
        << cancel << 12 << 0 << "JO" << 12;
    QTest::addRow("identification cancelled")
        << "|A2|D1" << true << true << 0 << "" << false << desc << false
        << cancel << 2 << 1 << "" << 2;
    QTest::addRow("identified")
        << "|A2|D1" << true << true << 1 << "" << false << desc << false
        << printAnswer(Machine, "fr_ca") << 2 << 1 << "" << 2;
    QTest::addRow("identity in the session: no dialog")
        << "|A2|D1" << true << true << -1 << "JO" << false << desc << false
        << printAnswer(Machine, "fr_ca") << 2 << 1 << "JO" << 2;
    QTest::addRow("refused: no identification asked")
        << "|A2|D1" << true << false << 1 << "" << false << desc << false
        << cancel << 2 << 0 << "" << 2;
    QTest::addRow("dedicated, declined: session reset, pages pending")
        << "|A4" << false << true << -1 << "JO" << false << desc << true
        << cancel << -1 << 0 << "" << 4;
    QTest::addRow("dedicated, printed: session reset")
        << "|A4|D1" << true << true << -1 << "JO" << false << desc << true
        << printAnswer(Machine, "fr_ca") << 4 << 1 << "" << 4;
    QTest::addRow("no page count: 0 pending")
        << "|B$0.10" << false << true << -1 << "" << false << desc << false
        << cancel << -1 << 0 << "" << 0;
    QTest::addRow("more pages than an int holds")
        << "|A4294967299" << true << false << -1 << "" << false << desc << false
        << cancel << INT_MAX << 0 << "" << INT_MAX;
    // clang-format on
}

void TstJobReceivedHandler::answers()
{
    QFETCH(QString, body);
    QFETCH(int, identifies);
    QFETCH(QString, answer);
    QFETCH(int, validatorAsked);
    QFETCH(int, identityAsked);

    FakePreferences preferences;
    preferences.setCurrentLocale(QStringLiteral("fr_ca"));
    QFETCH(bool, useDescription);
    preferences.useDescription = useDescription;
    QFETCH(bool, dedicated);
    preferences.dedicated = dedicated;
    FakeReservationSession reservation;
    QFETCH(QString, pcDescription);
    reservation.pcDescription = pcDescription;
    KoaSessionInfo session;
    QFETCH(QString, sessionId);
    session.setUserId(sessionId);
    session.setUserPin(sessionId.isEmpty() ? QString() : QStringLiteral("1234"));
    session.setMaxCreditBalance(QStringLiteral("9.00"));
    session.setPageCountForPendingPrintJob(99);
    ScriptedValidator validator;
    QFETCH(bool, allows);
    validator.allows = allows;
    FixedEnvironment environment;
    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());

    auto handler = std::make_unique<ScriptedHandler>(
        &preferences, &session, &reservation, &validator, &processing, 45, nullptr, &environment);
    ScriptedHandler *script = handler.get();
    QFETCH(bool, accepts);
    script->accepts = accepts;
    if (identifies >= 0)
        script->identifies = identifies == 1;
    JobReceivedMsg message(std::move(handler));

    QCOMPARE(message.handle(QStringLiteral("ps"), received(4, body)), answer);
    QCOMPARE(script->seenTimeout, 45L);
    QCOMPARE(script->seenSession, &session);
    QCOMPARE(script->seenPages, message.pageCount());
    QCOMPARE(validator.askedPages.value_or(-1), validatorAsked);
    QCOMPARE(script->identityAsked, identityAsked);
    if (identityAsked > 0)
        QVERIFY(script->identityModelPlain);

    const bool printed = answer.startsWith(QLatin1String("5|"));
    QCOMPARE(processing.isVisible(), printed);
    if (printed)
        QCOMPARE(processing.getText(), QStringLiteral("Please Wait... Submitting Job"));
    processing.hide();

    // The identity of an identification step is never kept, and only a
    // dedicated client forgets the session's.
    QTEST(session.userId(), "sessionIdAfter");
    QCOMPARE(session.hasCreditInfo(), !dedicated);
    QTEST(session.pageCountForPendingPrintJob(), "pending");
}

void TstJobReceivedHandler::realDialogs_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("answer");
    // clang-format off
    QTest::addRow("Return prints after the identification") << int(Qt::Key_Return) << printAnswer(Machine, "en_us");
    QTest::addRow("Escape cancels") << int(Qt::Key_Escape) << "7|" + Stamp;
    // clang-format on
}

// The page count dialog and the identification dialog as the patron sees them.
void TstJobReceivedHandler::realDialogs()
{
    QFETCH(int, key);

    FakePreferences preferences;
    preferences.setCurrentLocale(QStringLiteral("en_us"));
    FakeReservationSession reservation;
    KoaSessionInfo session;
    ScriptedValidator validator;
    FixedEnvironment environment;
    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());
    EventRecorder recorder;
    JobReceivedMsg message(std::make_unique<JobReceivedMsgHandler>(&preferences, &session,
        &reservation, &validator, &processing, 45, &recorder, &environment));

    QStringList seen;
    whenModal([&seen, key](QWidget *costDialog) {
        seen << costDialog->windowTitle();
        if (key == Qt::Key_Return) {
            whenModal([&seen](QWidget *idDialog) {
                seen << idDialog->objectName();
                auto *idField
                    = idDialog->findChild<QLineEdit *>(QStringLiteral("userIdDialog_UserIdEntry"));
                if (idField)
                    QTest::keyClicks(idField, QStringLiteral("jo"));
                QTest::keyClick(idDialog->focusWidget(), Qt::Key_Return);
            });
        }
        QTest::keyClick(costDialog->focusWidget(), Qt::Key(key));
    });
    QTEST(message.handle(QStringLiteral("ps"), received(4, QStringLiteral("|A3|E$0.30|D1"))),
        "answer");

    const bool printed = key == Qt::Key_Return;
    QStringList expected {QStringLiteral("Print this job?")};
    if (printed)
        expected << QStringLiteral("UserIdDialogView");
    QCOMPARE(seen, expected);
    QCOMPARE(validator.askedPages.has_value(), printed);
    QCOMPARE(processing.isVisible(), printed);
    QCOMPARE(
        recorder.count(QStringLiteral("Verbose User Id Input Filter Enabled: 0 (Exceptions: )")),
        printed ? 1 : 0);
    QCOMPARE(session.userId(), QString());
    QCOMPARE(session.pageCountForPendingPrintJob(), 3);
    processing.hide();
}

void TstJobReceivedHandler::nullMessage()
{
    FakePreferences preferences;
    KoaSessionInfo session;
    session.setUserId(QStringLiteral("JO"));
    session.setPageCountForPendingPrintJob(5);
    ScriptedValidator validator;
    ScriptedHandler handler(
        &preferences, &session, nullptr, &validator, nullptr, 45, nullptr, nullptr);
    QCOMPARE(handler.handle(QStringLiteral("ps"), nullptr), QString());
    QCOMPARE(handler.seenPages, -1L);
    QVERIFY(!validator.askedPages);
    QCOMPARE(session.userId(), QString());
    QCOMPARE(session.pageCountForPendingPrintJob(), 0);

    // Without a session state or anything else to borrow, no crash either way.
    JobReceivedMsgHandler bare(nullptr, nullptr, nullptr, nullptr, nullptr, 45, nullptr, nullptr);
    QCOMPARE(bare.handle(QStringLiteral("ps"), nullptr), QString());
}

QTEST_MAIN(TstJobReceivedHandler)
#include "tst_jobreceivedhandler.moc"
