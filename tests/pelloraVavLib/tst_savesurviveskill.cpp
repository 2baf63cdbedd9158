// printClient.tsp and session.dat against SIGKILL: a child process saves both
// in a loop, alternating two versions, and is killed at random moments.

#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {

const char *const SaveLoopVariable = "PELLORA_SAVE_LOOP_DIR";

// The printer connector's own saver, with the address it would ask for.
class AddressSaver : public MacPrinterConnector
{
public:
    explicit AddressSaver(const QString &address)
        : m_address(address)
    { }

protected:
    QString askForAddress() override { return m_address; }

private:
    QString m_address;
};

struct Version
{
    QString address;
    QString password;
};

// Of different lengths, so that a file cut short or mixed cannot pass for either.
const Version Versions[2] = {
    {QStringLiteral("10.0.0.1"), QStringLiteral("old")},
    {QStringLiteral("print-service-") + QString(3000, QLatin1Char('b'))
            + QStringLiteral(".campus.example"),
        QString(4000, QLatin1Char('n'))},
};

// Saves both files into `folder` (session.dat under $HOME/.pelloraVav).
void save(const QString &folder, const Version &version)
{
    AddressSaver connector(version.address);
    connector.setConfigDir(folder);
    connector.getPrintServiceForPelloraPrinter();

    MacPrintClientPreferences preferences;
    preferences.setConfigDir(folder);
    preferences.setStaffPassword(version.password);
    preferences.saveIfDedicated();
}

int saveForever(const QString &folder)
{
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (unsigned i = 0;; ++i)
        save(folder, Versions[i % 2]);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
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
    const QStringList files {
        QStringLiteral("printClient.tsp"), QStringLiteral("home/.pelloraVav/session.dat")};
    // Each version as the savers write it, made here by the same code.
    QTemporaryDir references;
    QVERIFY(references.isValid());
    QList<QByteArray> expected[2];
    const QByteArray home = qgetenv("HOME");
    for (int v = 0; v < 2; ++v) {
        const QString folder = references.filePath(QString::number(v));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/home")));
        qputenv("HOME", QFile::encodeName(folder + QStringLiteral("/home")));
        save(folder, Versions[v]);
        for (const QString &file : files)
            expected[v] << contents(folder + QLatin1Char('/') + file);
    }
    qputenv("HOME", home);
    QVERIFY(expected[0] != expected[1]);
    QVERIFY(!expected[0].contains("(missing)") && !expected[1].contains("(missing)"));

    QTemporaryDir work;
    QVERIFY(work.isValid());
    QVERIFY(QDir().mkpath(work.filePath(QStringLiteral("home/.pelloraVav"))));
    for (int f = 0; f < files.size(); ++f) {
        QFile file(work.filePath(files.at(f)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(expected[0].at(f)), expected[0].at(f).size());
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(SaveLoopVariable), work.path());
    environment.insert(QStringLiteral("HOME"), work.filePath(QStringLiteral("home")));
    QRandomGenerator random(QRandomGenerator::system()->generate());
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
        QVERIFY(saver.waitForStarted());
        QVERIFY2(saver.waitForReadyRead(30000) && saver.readLine() == "saving\n",
            saver.readAllStandardError().constData());
        QThread::usleep(random.bounded(10000));
        QCOMPARE(::kill(pid_t(saver.processId()), SIGKILL), 0);
        QVERIFY(saver.waitForFinished());
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);
        ++kills;
        for (int f = 0; f < files.size(); ++f) {
            const QByteArray now = contents(work.filePath(files.at(f)));
            if (now != expected[0].at(f) && now != expected[1].at(f)) {
                ++corrupt;
                qWarning("%s after kill %d: %lld bytes, neither version", qPrintable(files.at(f)),
                    kills, qint64(now.size()));
            }
            changes += now != last.at(f) ? 1 : 0;
            last[f] = now;
        }
    }
    // Temporary files a kill left behind are no harm to the two, only clutter.
    const int strays = int(QDir(work.path()).entryList(QDir::Files).size()
        + QDir(work.filePath(QStringLiteral("home/.pelloraVav"))).entryList(QDir::Files).size()
        - files.size());
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
