#include "BundleInfo.h"
#include "MacProcessManager.h"
#include "MacVersionInfo.h"
#include "OSInterface.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {
// A stand-in for killall on the PATH: records its arguments, one per line,
// and exits with the status named in a file beside it.
void writeFakeKillall(const QTemporaryDir &dir)
{
    QFile script(dir.filePath(QStringLiteral("killall")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n"
                 "d=$(dirname \"$0\")\n"
                 "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$d/calls\"; done\n"
                 "echo -- >> \"$d/calls\"\n"
                 "exit $(head -n1 \"$d/status\")\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
}

void setFakeStatus(const QTemporaryDir &dir, const QByteArray &statuses)
{
    QFile file(dir.filePath(QStringLiteral("status")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(statuses);
}

QStringList recordedCalls(const QTemporaryDir &dir)
{
    QFile file(dir.filePath(QStringLiteral("calls")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void versionCmp_data()
    {
        // clang-format off
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("result");
        QTest::addRow("minor as number") << "4.9.2" << "4.10" << -1;
        QTest::addRow("major wins") << "5" << "4.99.99" << 1;
        QTest::addRow("both empty") << "" << "" << 0;
        QTest::addRow("empty before patch") << "" << "0.0.1" << -1;
        QTest::addRow("missing component is 0") << "4.9" << "4.9.0" << 0;
        QTest::addRow("later minor") << "4.10.1" << "4.9.7" << 1;
        QTest::addRow("revision ignored") << "4.9.1.123" << "4.9.1.456" << 0;
        QTest::addRow("empty components dropped") << "4..9" << "4.9" << 0;
        QTest::addRow("non-number is 0") << "4.x.1" << "4.0.1" << 0;
        // clang-format on
    }

    void versionCmp()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, result);
        QCOMPARE(VersionInfoInterface::versionCmp(a, b), result);
        QCOMPARE(VersionInfoInterface::versionCmp(b, a), -result);
    }

    void versionKeys()
    {
        // The build generates the keys; a fresh instance reads them.
        MacVersionInfo info;
        QVERIFY(!info.getVersionString().isEmpty());
        QVERIFY(!info.getProductName().isEmpty());
        QCOMPARE(info.getMajorVersion(), 0);

        BundleInfo::setOverride(QStringLiteral("CFBundleVersion"), QStringLiteral("4.9.2.100"));
        BundleInfo::removeOverride(QStringLiteral("tsCFBundleSignature"));
        MacVersionInfo overridden;
        BundleInfo::clearOverrides();
        QVERIFY(!overridden.isCurrentVersionBefore(QStringLiteral("4.9.2")));
        QVERIFY(overridden.isCurrentVersionBefore(QStringLiteral("4.9.3")));
        QVERIFY(overridden.getCompanyName().isEmpty());
    }

    void executableName()
    {
        // The test binary is tst_platform: no dot, case kept.
        QCOMPARE(macVersionInfo.executableName(), QStringLiteral("tst_platform"));
    }

    void killProcess_data()
    {
        // clang-format off
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("calls");
        QTest::addRow("stops on TERM")
            << QByteArray("0") << true << QStringList {"-TERM", "pellora", "--"};
        QTest::addRow("needs KILL, fails")
            << QByteArray( "1") << false
            << QStringList {"-TERM", "pellora", "--", "-KILL", "pellora", "--"};
        // clang-format on
    }

    void killProcess()
    {
        QFETCH(QByteArray, status);
        QTemporaryDir dir;
        writeFakeKillall(dir);
        setFakeStatus(dir, status);
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8() + ':' + oldPath);
        MacProcessManager manager;
        const bool result = manager.killProcess("pellora", 10);
        qputenv("PATH", oldPath);
        QTEST(result, "result");
        QTEST(recordedCalls(dir), "calls");
    }

    void killProcessNameIsNeverShell()
    {
        QTemporaryDir dir;
        writeFakeKillall(dir);
        setFakeStatus(dir, "0");
        const QString marker = dir.filePath(QStringLiteral("ran"));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", dir.path().toUtf8() + ':' + oldPath);
        MacProcessManager manager;
        const QStringList names = {
            QStringLiteral("x; touch %1").arg(marker),
            QStringLiteral("x' && touch '%1").arg(marker),
            QStringLiteral("$(touch %1)").arg(marker),
            QStringLiteral("`touch %1`").arg(marker),
        };
        for (const QString &name : names)
            QVERIFY(manager.killProcess(name.toUtf8().constData(), 0));
        qputenv("PATH", oldPath);
        QVERIFY(!QFile::exists(marker));
        const QStringList calls = recordedCalls(dir);
        for (const QString &name : names)
            QVERIFY2(calls.contains(name), qPrintable(name)); // handed over whole, as one argument
    }

    void startProcess()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("started"));
        MacProcessManager manager;
        QVERIFY(manager.startProcess(QStringList {QStringLiteral("touch"), marker}));
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(!manager.startProcess(QStringList {}));
        QVERIFY(!manager.startProcess(QStringLiteral("/nonexistent/program")));
        QVERIFY(!manager.restartProcessOnCurrentDesktop("x", 0));
    }

    void osInterface()
    {
        OSInterface os;
        QCOMPARE(os.system("exit 3"), 3);
        // Both output streams are kept, in order, the tail only.
        QByteArray output("left over");
        QCOMPARE(os.system("echo out; echo err >&2; exit 2", &output), 2);
        QCOMPARE(output, QByteArray("out\nerr\n"));
        QCOMPARE(os.system("head -c 100000 /dev/zero | tr '\\0' x; printf end", &output), 0);
        QCOMPARE(output, QByteArray(OSInterface::OUTPUT_TAIL - 3, 'x') + "end");
        QCOMPARE(os.system("kill -9 $$", &output), -1);
        // A program left running in the background with the output open does
        // not hold the caller until it ends.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(os.system("sleep 60 & echo $!", &output), 0);
        QVERIFY2(clock.elapsed() < 30000, output.constData());
        ::kill(output.trimmed().toInt(), SIGKILL);
        QString out;
        QCOMPARE(
            os.run(QStringLiteral("printf"), {QStringLiteral("%s"), QStringLiteral("a b;c")}, &out),
            0);
        QCOMPARE(out, QStringLiteral("a b;c"));
        QCOMPARE(os.run(QStringLiteral("/nonexistent/program"), {}), -1);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
