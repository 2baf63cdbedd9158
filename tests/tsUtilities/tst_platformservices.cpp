#include "OutputCapture.h"
#include "QuitSignalHandler.h"
#include "TsSingleInstanceGuard.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

// Output of a helper process, collected as it arrives.
class Helper
{
public:
    explicit Helper(const QStringList &arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(PLATFORM_HELPER), arguments);
    }
    ~Helper()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    bool waitForLine(const QString &line)
    {
        return QTest::qWaitFor(
            [&] {
                m_output += QString::fromUtf8(m_process.readAllStandardOutput());
                return m_output.split(QLatin1Char('\n')).contains(line);
            },
            20000);
    }
    QStringList lines()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(QLatin1Char('\n'), ::Qt::SkipEmptyParts);
    }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QString m_output;
};

} // namespace

class tst_PlatformServices : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void secondGuardWithSameKeyFindsItRunning();
    void messageReachesTheHolder();
    void keyIsFreeAfterTheHolderEnds();
    void lockOfCrashedHolderIsTakenOver();
    void messageReachesHolderInAnotherProcess();
    void sessionKeySeparatesSessions();
    void unusableFolderDoesNotStopTheStart();

    void quitSignalLeavesThroughAboutToQuit_data();
    void quitSignalLeavesThroughAboutToQuit();
    void quitSignalSeenWithoutEventLoop();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_PlatformServices::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_PlatformServices::secondGuardWithSameKeyFindsItRunning()
{
    TsSingleInstanceGuard first(QStringLiteral("Pellora Client-uid1000"), m_dir->path());
    QVERIFY(!first.isRunning());
    QVERIFY(first.initialize());
    QVERIFY(first.isListening());
    QVERIFY(!first.isRunning()); // asking again does not find itself

    TsSingleInstanceGuard second(QStringLiteral("Pellora Client-uid1000"), m_dir->path());
    QVERIFY(second.isRunning());
    QVERIFY(!second.initialize());
    QVERIFY(!second.isListening());

    TsSingleInstanceGuard otherUser(QStringLiteral("Pellora Client-uid1001"), m_dir->path());
    QVERIFY(!otherUser.isRunning());
}

void tst_PlatformServices::messageReachesTheHolder()
{
    TsSingleInstanceGuard first(QStringLiteral("key"), m_dir->path());
    QVERIFY(first.initialize());
    QSignalSpy received(&first, &TsSingleInstanceGuard::messageReceived);

    TsSingleInstanceGuard second(QStringLiteral("key"), m_dir->path());
    QVERIFY(second.isRunning());
    QVERIFY(second.sendMessage(QStringLiteral("activate \u00e9")));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("activate \u00e9"));

    TsSingleInstanceGuard nobody(QStringLiteral("other key"), m_dir->path());
    QVERIFY(!nobody.sendMessage(QStringLiteral("lost"), 1000));
}

void tst_PlatformServices::keyIsFreeAfterTheHolderEnds()
{
    TsSingleInstanceGuard next(QStringLiteral("key"), m_dir->path());
    {
        TsSingleInstanceGuard first(QStringLiteral("key"), m_dir->path());
        QVERIFY(first.initialize());
        QVERIFY(next.isRunning());
    }
    QVERIFY(!next.isRunning());
    QVERIFY(next.initialize());
}

void tst_PlatformServices::lockOfCrashedHolderIsTakenOver()
{
    const QString key = QStringLiteral("crash key");
    Helper holder({QStringLiteral("hold-key"), m_dir->path(), key});
    QVERIFY(holder.waitForLine(QStringLiteral("HOLDING")));

    TsSingleInstanceGuard guard(key, m_dir->path());
    QVERIFY(guard.isRunning());

    // A crash leaves the lock file and the socket file behind.
    holder.process().kill();
    QTRY_COMPARE(holder.process().state(), QProcess::NotRunning);
    QVERIFY(QFile::exists(guard.lockFilePath()));
    QVERIFY(QFile::exists(guard.serverPath()));

    QVERIFY(!guard.isRunning());
    QVERIFY(guard.initialize());
    QVERIFY(guard.isListening());
    QSignalSpy received(&guard, &TsSingleInstanceGuard::messageReceived);
    TsSingleInstanceGuard later(key, m_dir->path());
    QVERIFY(later.isRunning());
    QVERIFY(later.sendMessage(QStringLiteral("hello")));
    QTRY_COMPARE(received.size(), 1);
}

void tst_PlatformServices::messageReachesHolderInAnotherProcess()
{
    const QString key = QStringLiteral("shared key");
    Helper holder({QStringLiteral("hold-key"), m_dir->path(), key});
    QVERIFY(holder.waitForLine(QStringLiteral("HOLDING")));

    TsSingleInstanceGuard second(key, m_dir->path());
    QVERIFY(second.isRunning());
    QVERIFY(second.sendMessage(QStringLiteral("activate")));
    QVERIFY(holder.waitForLine(QStringLiteral("MESSAGE activate")));

    // And a second process with the same key gives up.
    Helper third({QStringLiteral("hold-key"), m_dir->path(), key});
    QVERIFY(third.waitForLine(QStringLiteral("RUNNING")));
    QTRY_COMPARE(third.process().state(), QProcess::NotRunning);
    QCOMPARE(third.process().exitCode(), 3);
}

void tst_PlatformServices::sessionKeySeparatesSessions()
{
    const QByteArray saved = qgetenv("XDG_SESSION_ID");
    qputenv("XDG_SESSION_ID", "3");
    const QString sessionThree = TsSingleInstanceGuard::sessionKey(QStringLiteral("app"));
    const bool stable = sessionThree == TsSingleInstanceGuard::sessionKey(QStringLiteral("app"));
    qputenv("XDG_SESSION_ID", "4");
    const QString sessionFour = TsSingleInstanceGuard::sessionKey(QStringLiteral("app"));
    const QString otherApp = TsSingleInstanceGuard::sessionKey(QStringLiteral("other"));
    qunsetenv("XDG_SESSION_ID");
    const QString noSession = TsSingleInstanceGuard::sessionKey(QStringLiteral("app"));
    if (saved.isNull())
        qunsetenv("XDG_SESSION_ID");
    else
        qputenv("XDG_SESSION_ID", saved);

    QCOMPARE(QSet<QString>({sessionThree, sessionFour, otherApp, noSession}).size(), 4);
    QVERIFY(stable);
    QVERIFY(sessionThree.contains(QString::number(::getuid())));
}

void tst_PlatformServices::unusableFolderDoesNotStopTheStart()
{
    TsSingleInstanceGuard guard(QStringLiteral("key"), QStringLiteral("/proc/no-such-folder"));
    OutputCapture errors(2);
    QVERIFY(!guard.isRunning());
    QVERIFY(errors.take().contains("/proc/no-such-folder"));
}

void tst_PlatformServices::quitSignalLeavesThroughAboutToQuit_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addRow("SIGTERM") << int(SIGTERM);
    QTest::addRow("SIGHUP") << int(SIGHUP);
    QTest::addRow("SIGINT") << int(SIGINT);
}

void tst_PlatformServices::quitSignalLeavesThroughAboutToQuit()
{
    QFETCH(int, signalNumber);
    Helper client({QStringLiteral("quit-handler")});
    QVERIFY(client.waitForLine(QStringLiteral("READY")));

    QCOMPARE(::kill(pid_t(client.process().processId()), signalNumber), 0);
    QTRY_COMPARE_WITH_TIMEOUT(client.process().state(), QProcess::NotRunning, 10000);
    QCOMPARE(client.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(client.process().exitCode(), 0);
    QCOMPARE(client.lines(),
        (QStringList {
            "READY", QStringLiteral("SIGNAL %1").arg(signalNumber), "ABOUT_TO_QUIT", "EXIT 0"}));
}

// A blocking fetch cannot wait for the event loop to learn of the signal.
void tst_PlatformServices::quitSignalSeenWithoutEventLoop()
{
    {
        QuitSignalHandler handler;
        QVERIFY(handler.install({SIGTERM}));
        QVERIFY(!QuitSignalHandler::signalArrived());
        QCOMPARE(::raise(SIGTERM), 0);
        QVERIFY(QuitSignalHandler::signalArrived());
    }
    QVERIFY(!QuitSignalHandler::signalArrived());
}

QTEST_GUILESS_MAIN(tst_PlatformServices)
#include "tst_platformservices.moc"
