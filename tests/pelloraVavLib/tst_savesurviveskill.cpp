// printClient.tsp and session.dat against SIGKILL: a child process saves both
// in a loop, alternating two versions, and is killed at random moments.

#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

const char *const SaveLoopVariable = "PELLORA_SAVE_LOOP_DIR";
const QStringList Files {
    QStringLiteral("printClient.tsp"), QStringLiteral("home/.pelloraVav/session.dat")};

// The printer connector's own saver, with the address it would ask for.
class AddressSaver : public MacPrinterConnector
{
public:
    QString address;

protected:
    QString askForAddress() override { return address; }
};

// Two versions of different lengths, so that a file cut short or mixed cannot
// pass for either.
const QString Addresses[2] = {QStringLiteral("10.0.0.1"),
    QStringLiteral("print-service-") + QString(3000, QLatin1Char('b'))
        + QStringLiteral(".campus.example")};
const QString Passwords[2] = {QStringLiteral("old"), QString(4000, QLatin1Char('n'))};

// Saves both files of a version into `folder` (session.dat under $HOME/.pelloraVav).
void save(const QString &folder, int version)
{
    AddressSaver connector;
    connector.address = Addresses[version];
    connector.setConfigDir(folder);
    connector.getPrintServiceForPelloraPrinter();

    MacPrintClientPreferences preferences;
    preferences.setConfigDir(folder);
    preferences.setStaffPassword(Passwords[version]);
    preferences.saveIfDedicated();
}

int saveForever(const QString &folder)
{
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (unsigned i = 0;; ++i)
        save(folder, int(i % 2));
}

// Both files as the folder holds them, empty where one is missing.
QList<QByteArray> contents(const QString &folder)
{
    QList<QByteArray> found;
    for (const QString &file : Files)
        found << readAll(folder + QLatin1Char('/') + file);
    return found;
}

} // namespace

class tst_SaveSurvivesKill : public QObject
{
    Q_OBJECT

private slots:
    void everyFileIsOldOrNew();
};

void tst_SaveSurvivesKill::everyFileIsOldOrNew()
{
    // Each version as the savers write it, saved here by the same code; the
    // folder is left with the first one.
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString home = work.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    const QByteArray ownHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    QList<QByteArray> expected[2];
    for (int v : {1, 0}) {
        save(work.path(), v);
        expected[v] = contents(work.path());
    }
    qputenv("HOME", ownHome);
    for (int f = 0; f < Files.size(); ++f) {
        QVERIFY(!expected[0].at(f).isEmpty() && !expected[1].at(f).isEmpty());
        QVERIFY(expected[0].at(f) != expected[1].at(f));
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(SaveLoopVariable), work.path());
    environment.insert(QStringLiteral("HOME"), home);
    int kills = 0;
    int changes = 0;
    int corrupt = 0;
    QList<QByteArray> last = expected[0];
    QElapsedTimer clock;
    clock.start();
    while (kills < 300 && clock.elapsed() < 30000) {
        QProcess saver;
        saver.setProcessEnvironment(environment);
        saver.start(QCoreApplication::applicationFilePath());
        QVERIFY2(saver.waitForReadyRead(30000) && saver.readLine() == "saving\n",
            saver.readAllStandardError().constData());
        QThread::usleep(QRandomGenerator::global()->bounded(10000));
        QCOMPARE(::kill(pid_t(saver.processId()), SIGKILL), 0);
        QVERIFY(saver.waitForFinished());
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        ++kills;
        const QList<QByteArray> now = contents(work.path());
        for (int f = 0; f < Files.size(); ++f) {
            if (now.at(f) != expected[0].at(f) && now.at(f) != expected[1].at(f)) {
                ++corrupt;
                qWarning("%s after kill %d: %lld bytes, neither version", qPrintable(Files.at(f)),
                    kills, qint64(now.at(f).size()));
            }
            changes += now.at(f) != last.at(f) ? 1 : 0;
        }
        last = now;
    }
    // Temporary files a kill left behind are no harm to the two, only clutter.
    const int strays = int(QDir(work.path()).entryList(QDir::Files).size()
        + QDir(work.filePath(QStringLiteral("home/.pelloraVav"))).entryList(QDir::Files).size()
        - Files.size());
    qInfo("%d kills, %d files found changed since the kill before, %d corrupt, %d stray files",
        kills, changes, corrupt, strays);
    QCOMPARE(corrupt, 0);
    // The kills met the savers at work, not only before they began.
    QVERIFY2(changes > 0, "no save completed between two kills");
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(SaveLoopVariable))
        return saveForever(qEnvironmentVariable(SaveLoopVariable));
    tst_SaveSurvivesKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savesurviveskill.moc"
