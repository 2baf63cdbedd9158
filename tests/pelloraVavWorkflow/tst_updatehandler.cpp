#include "FakePreferences.h"
#include "PrintClientUpdateMsg.h"
#include "PrintClientUpdateMsgHandler.h"
#include "ProcessManagerInterface.h"
#include "RecordingMessageBox.h"
#include "VersionInfoInterface.h"
#include "messagetesthelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

namespace {

class FixedVersion : public VersionInfoInterface
{
public:
    explicit FixedVersion(const QString &version) { versionString = version; }
    bool initialize() override { return true; }
};

class FakeProcessManager : public ProcessManagerInterface
{
public:
    bool killProcess(const char *, unsigned long) override { return true; }
    bool startProcess(const QString &) override { return false; }
    bool startProcess(const QStringList &command) override
    {
        commands << command;
        return starts;
    }
    bool restartProcessOnCurrentDesktop(const char *, unsigned long) override { return true; }
    QList<QStringList> commands;
    bool starts = true;
};

QString error(const char *text)
{
    return QStringLiteral("error|Error|") + QString::fromLatin1(text);
}

} // namespace

class UpdateHandlerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Tessaly::Core::Message::setTimeSource(&m_clock); }
    void offeredVersions_data();
    void offeredVersions();

private:
    FixedTimeSource m_clock;
};

void UpdateHandlerTest::offeredVersions_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("temporaryAllowed");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("shouldQuit");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("processes");
    QTest::addColumn<bool>("quits");

    const QString ack = received(80, QString());
    const QString end = received(86, QString());
    using H = PrintClientUpdateMsgHandler;
    const QString question
        = QStringLiteral("question|Question|") + QString::fromLatin1(H::SingleShotPrompt);
    // clang-format off
    QTest::addRow("equal") << "|A2.1.0" << false << false << true << true << ack << QStringList() << 0 << false;
    QTest::addRow("older") << "|A2.0.9" << false << false << true << true << ack << QStringList() << 0 << false;
    QTest::addRow("empty") << "|A" << false << false << true << true << ack << QStringList() << 0 << false;
    QTest::addRow("newer: box, then quit") << "|A2.1.1" << false << false << true << true << end
        << QStringList{error(H::MobileUpdating)} << 0 << true;
    QTest::addRow("newer, should-quit cleared") << "|A3.0" << false << false << true << false << end
        << QStringList{error(H::MobileUpdating)} << 0 << false;
    QTest::addRow("temporary: no launcher") << "|A3.0" << true << true << true << true << end
        << QStringList{error(H::OutOfDateError)} << 0 << false;
    QTest::addRow("temporary: declined") << "|A3.0|Bhttp://ps/l" << true << false << true << true
        << end << QStringList{question} << 0 << false;
    QTest::addRow("temporary: started") << "|A3.0|Bhttp://ps/l" << true << true << true << true
        << end << QStringList{question} << 1 << false;
    QTest::addRow("temporary: downloader fails") << "|A3.0|Bhttp://ps/l;rm -rf ~" << true << true
        << false << true << end << QStringList{question, error(H::FailedToStartDownloader)} << 1
        << false;
    // clang-format on
}

void UpdateHandlerTest::offeredVersions()
{
    QFETCH(QString, body);
    QFETCH(bool, temporaryAllowed);
    QFETCH(bool, yes);
    QFETCH(bool, starts);
    QFETCH(bool, shouldQuit);
    QFETCH(QString, answer);
    QFETCH(QStringList, boxes);
    QFETCH(int, processes);
    QFETCH(bool, quits);

    FixedVersion running(QStringLiteral("2.1.0.77"));
    VersionInfoInterface *const programVersion = versionInfo;
    versionInfo = &running;
    FakePreferences preferences;
    preferences.temporaryClientAllowed = temporaryAllowed;
    RecordingMessageBox box;
    box.answerYes = yes;
    FakeProcessManager processManager;
    processManager.starts = starts;
    PrintClientUpdateMsgHandler handler(&preferences, &box, nullptr, &processManager, nullptr);
    handler.setShouldQuitApplication(shouldQuit);

    PrintClientUpdateMsg message;
    QVERIFY(message.fromText(received(64, body)));
    // Handled inside the event loop, as the connection does: a quit ends the
    // loop only after the answer is back with the caller.
    QString got;
    bool answeredBeforeQuit = false;
    QTimer::singleShot(0, this, [&] { got = handler.handle(QString(), &message); });
    QObject guard;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &guard,
        [&] { answeredBeforeQuit = !got.isEmpty(); });
    QTimer fallback;
    fallback.setSingleShot(true);
    connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    fallback.start(300);
    const int rc = QCoreApplication::exec();

    QCOMPARE(got, answer);
    QCOMPARE(box.shown(), boxes);
    QCOMPARE(rc == 0, quits);
    if (quits)
        QVERIFY(answeredBeforeQuit);
    QCOMPARE(processManager.commands.size(), processes);
    if (processes) {
        // One argument each: the location is never split or interpreted.
        const QStringList command = processManager.commands.first();
        QCOMPARE(command.size(), 3);
        QCOMPARE(command.at(0),
            QCoreApplication::applicationDirPath()
                + QStringLiteral("/pelloraClientDownloader.exe"));
        QCOMPARE(command.at(1), message.getLauncherUrl());
        QCOMPARE(command.at(2), QDir::homePath() + QStringLiteral("/clientLauncher.exe"));
    }
    versionInfo = programVersion;
}

QTEST_MAIN(UpdateHandlerTest)
#include "tst_updatehandler.moc"
