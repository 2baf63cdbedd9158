#include "MacPrintClientPreferences.h"
#include "MacPrinterConnector.h"
#include "ObservableEvent.h"
#include "TraceLineObserver.h"
#include "TsSingleInstanceGuard.h"
#include "XmlPreferences.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes its files into the home folder it is given; returns the file that
// must be private.
using Writer = std::function<QString(const QString &home)>;

class AskingConnector : public MacPrinterConnector
{
protected:
    QString askForAddress() override { return QStringLiteral("ps.example.org"); }
};

int modeOf(const QString &path)
{
    struct stat status
    { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 0777)
                                                                      : -1;
}

bool writeFile(const QString &path, const QByteArray &data, int mode)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(data) == data.size()
        && ::chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

QString traceInto(const QString &path)
{
    UtilsLib::TraceLineObserver observer(path);
    observer.notify(UtilsLib::ObservableEvent(QStringLiteral("Info"), QStringLiteral("Test"),
        QStringLiteral("a line"), 6, QStringLiteral("send")));
    return path;
}

QString saveStaffPassword(const QString &home)
{
    MacPrintClientPreferences preferences;
    const QString appDir = home + QStringLiteral("/app");
    UtilsLib::XmlPreferences config(QStringLiteral("Mac Printer Connector"));
    config.set(MacPrintClientPreferences::DEDICATED_MODE, 1);
    if (!config.save(appDir + QLatin1Char('/') + MacPrintClientPreferences::CONFIG_FILE))
        return QString();
    preferences.setConfigDir(appDir);
    preferences.setStaffPassword(QStringLiteral("staff only"));
    preferences.saveIfDedicated();
    return preferences.getDatFileName();
}

// Runs `work` with a plain user's file permissions over the folder above
// `home`, which becomes that user's, when the test runs as root: root may write
// into any folder, and a file user other than root has no capability that
// overrides permissions.
bool asPlainUser(const QString &home, const std::function<bool()> &work)
{
    constexpr uid_t Nobody = 65534;
    if (::geteuid() != 0)
        return work();
    const QString top = QFileInfo(home).path();
    bool owned = ::chown(QFile::encodeName(top).constData(), Nobody, Nobody) == 0;
    QDirIterator entries(
        top, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (entries.hasNext())
        owned
            = ::lchown(QFile::encodeName(entries.next()).constData(), Nobody, Nobody) == 0 && owned;
    ::setfsgid(Nobody);
    ::setfsuid(Nobody);
    const bool ok = owned && work();
    ::setfsuid(0);
    ::setfsgid(0);
    return ok;
}

} // namespace

Q_DECLARE_METATYPE(Writer)

// What the client writes for one user alone is that user's alone, under the
// usual umask 022 too.
class TestFileModes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_umask = ::umask(022); }
    void cleanupTestCase() { ::umask(m_umask); }
    void privateFiles_data();
    void privateFiles();

private:
    mode_t m_umask = 022;
};

void TestFileModes::privateFiles_data()
{
    QTest::addColumn<QString>("runtimeDir"); // "" unset, else "<mode>" of a folder made for it
    QTest::addColumn<Writer>("write");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("folderMode"); // 0: the folder is not checked

    QTest::addRow("trace file, new")
        << QString() << Writer([](const QString &home) { return traceInto(home + "/trace.log"); })
        << 0600 << 0;
    QTest::addRow("trace file, existing 0644") << QString() << Writer([](const QString &home) {
        const QString path = home + "/old-trace.log";
        if (!writeFile(path, "earlier line\n", 0644))
            return QString();
        traceInto(path);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && file.readAll().startsWith("earlier line\n")
            ? path
            : QString();
    }) << 0600 << 0;
    QTest::addRow("session.dat, new") << QString() << Writer(saveStaffPassword) << 0600 << 0700;
    QTest::addRow("session.dat over a 0644 one in a 0755 folder")
        << QString() << Writer([](const QString &home) {
               if (!writeFile(home + "/.pelloraVav/session.dat", "old", 0644)
                   || ::chmod(QFile::encodeName(home + "/.pelloraVav").constData(), 0755) != 0)
                   return QString();
               return saveStaffPassword(home);
           })
        << 0600 << 0700;
    // A reader who opened the old file while others could read it keeps
    // reading whatever goes into that file: no tightening takes it back, so
    // the password goes into a new file or nowhere.
    QTest::addRow("session.dat held open by a reader, in a folder the user may not write")
        << QString() << Writer([](const QString &home) {
               const QString folder = home + "/.pelloraVav";
               const QString dat = folder + "/session.dat";
               if (!writeFile(dat, "old", 0644))
                   return QString();
               QFile reader(dat);
               if (!reader.open(QIODevice::ReadOnly))
                   return QString();
               if (!asPlainUser(home, [&] {
                       return ::chmod(QFile::encodeName(folder).constData(), 0500) == 0
                           && !saveStaffPassword(home).isEmpty();
                   }))
                   return QString();
               const QByteArray seen = reader.readAll();
               if (seen != "old")
                   qWarning("the earlier reader read %s", seen.toHex().constData());
               return seen == "old" ? dat : QString();
           })
        << 0644 << 0500;
    QTest::addRow("owner-only preferences flushed after the file went away")
        << QString() << Writer([](const QString &home) {
               const QString path = home + "/app/" + MacPrintClientPreferences::CONFIG_FILE;
               UtilsLib::XmlPreferences config(QStringLiteral("Mac Printer Connector"));
               config.set(QStringLiteral("Print Service Address"), QStringLiteral("ps"));
               return QDir().mkpath(home + "/app")
                       && config.save(path, UtilsLib::XmlPreferences::FileAccess::OwnerOnly)
                       && QFile::remove(path) && config.flush()
                   ? path
                   : QString();
           })
        << 0600 << 0;
    QTest::addRow("patron's printClient.tsp") << QString() << Writer([](const QString &home) {
        // The application folder cannot be written: the patron's own file is.
        if (!writeFile(home + "/blocker", "", 0644))
            return QString();
        AskingConnector connector;
        connector.setConfigDir(home + "/blocker/app");
        if (connector.getPrintServiceForPelloraPrinter() != "ps.example.org")
            return QString();
        return MacPrinterConnector::userConfigFilePath();
    }) << 0600 << 0700;
    QTest::addRow("lock without a runtime folder") << QString() << Writer([](const QString &) {
        TsSingleInstanceGuard guard(QStringLiteral("Pellora Client-uid1000"));
        return guard.isRunning() ? QString() : guard.lockFilePath();
    }) << 0600 << 0700;
    QTest::addRow("lock with a runtime folder others may enter") << QStringLiteral(
        "755") << Writer([](const QString &home) {
        TsSingleInstanceGuard guard(QStringLiteral("Pellora Client-uid1000"));
        const QString path = guard.lockFilePath();
        return !guard.isRunning() && path.startsWith(home + "/.pelloraVav/") ? path : QString();
    }) << 0600 << 0700;
}

void TestFileModes::privateFiles()
{
    QFETCH(QString, runtimeDir);
    QFETCH(Writer, write);
    QFETCH(int, fileMode);
    QFETCH(int, folderMode);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString home = dir.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home));
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedRuntime
        = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") ? qgetenv("XDG_RUNTIME_DIR") : QByteArray();
    qputenv("HOME", QFile::encodeName(home));
    if (runtimeDir.isEmpty()) {
        qunsetenv("XDG_RUNTIME_DIR");
    } else {
        const QString runtime = dir.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        QCOMPARE(
            ::chmod(QFile::encodeName(runtime).constData(), mode_t(runtimeDir.toInt(nullptr, 8))),
            0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }

    const QString path = write(home);

    qputenv("HOME", savedHome);
    if (savedRuntime.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
    QVERIFY2(!path.isEmpty(), "the file was not written where it belongs");
    QVERIFY2(path.startsWith(home + QLatin1Char('/')), qPrintable(path));
    QCOMPARE(QString::number(modeOf(path), 8), QString::number(fileMode, 8));
    if (folderMode != 0)
        QCOMPARE(
            QString::number(modeOf(QFileInfo(path).path()), 8), QString::number(folderMode, 8));
}

QTEST_GUILESS_MAIN(TestFileModes)
#include "tst_filemodes.moc"
