// The built client's --check against a Print Service with one fault made
// real per row: the verdict line it prints, its exit status, and that it
// ends in time whatever the server does.

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "HexEncrypt.h"
#include "TestCertificates.h"
#include "TestHttpResponder.h"
#include "TsSingleInstanceGuard.h"
#include "WholeProgram.h"

#include <grp.h>
#include <memory>
#include <unistd.h>

namespace {

const QString AppDir = QStringLiteral(PELLORA_APP_DIR);
const QString ClientName = QStringLiteral("pelloraVav");
const QString ClientId = QStringLiteral("Pellora Laptop Print Client");
// The check promises 15 s; the rest is the start of a sanitized build.
constexpr qint64 TimeBoundMs = 20000;

enum Fault {
    NoFault,
    NoSiteFile,
    UnresolvableName,
    RefusedPort,
    TricklingServer,
    CutScripts,
    UntrustedCertificate,
    CertificateExpiresSoon,
    ClientRunning,
    PatronOutsideSystemGroup,
};

QByteArray scriptsResponse()
{
    const QByteArray body
        = UtilsLib::HexEncrypt::encryptData(QStringLiteral("echo install")).toUtf8() + '\n'
        + UtilsLib::HexEncrypt::encryptData(QStringLiteral("echo remove")).toUtf8() + '\n';
    return "HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
        + body;
}

QByteArray siteFile(const QString &address, bool tls, const QString &caFile)
{
    QByteArray entries = "<entry name='Print Service Address'>" + address.toUtf8() + "</entry>\n";
    if (tls)
        entries += "<entry name='Print Service TLS'>1</entry>\n"
                   "<entry name='Print Service CA File'>"
            + caFile.toUtf8() + "</entry>\n";
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n<version>1.1</version>\n"
           "<type>Mac Printer Connector</type>\n"
        + entries + "</Settings>\n";
}

} // namespace

class HealthCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void oneVerdictPerFault_data();
    void oneVerdictPerFault();

private:
    TestCertificates m_certificates;
};

void HealthCheckTest::initTestCase()
{
    QVERIFY2(QFileInfo(AppDir + QLatin1Char('/') + ClientName).isExecutable(), qPrintable(AppDir));
    QString why;
    QVERIFY2(m_certificates.make(&why), qPrintable(why));
}

void HealthCheckTest::oneVerdictPerFault_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<int>("status");

    const auto row = [](const char *name, Fault fault, bool tls, const char *verdict, int status) {
        QTest::newRow(name) << int(fault) << tls << QString::fromUtf8(verdict) << status;
    };
    row("healthy", NoFault, false,
        "^ok +scripts: http://127.0.0.1:30044/printers/: install script 12 bytes, removal script "
        "11 bytes \\(not run\\)$",
        0);
    row("healthy, TLS", NoFault, true,
        "^ok +port: 127.0.0.1:21327: TLS verified, .* \\(in 36[45] days\\)$", 0);
    row("no site file", NoSiteFile, false,
        "^FAIL +site file: .*/printClient.tsp does not exist -- to do: ", 1);
    row("unresolvable name", UnresolvableName, false,
        "^FAIL +name: no-such-host.invalid does not resolve: ", 1);
    row("refused port", RefusedPort, false,
        "^FAIL +port: no connection to 127.0.0.1:21326: Connection refused -- to do: ", 1);
    row("trickling server", TricklingServer, false,
        "^FAIL +scripts: http://127.0.0.1:30044/printers/: .* -- to do: ", 1);
    row("cut scripts", CutScripts, false,
        "^FAIL +scripts: http://127.0.0.1:30044/printers/: .* -- to do: ", 1);
    row("untrusted certificate", UntrustedCertificate, true,
        "^FAIL +port: certificate for 127.0.0.1 is not trusted: issued by Somebody Else's CA", 1);
    row("certificate expires soon", CertificateExpiresSoon, true,
        "^warning +port: 127.0.0.1:21327: TLS verified, .* \\(in (9|10) days\\) -- to do: renew",
        0);
    row("patron outside the SystemGroup", PatronOutsideSystemGroup, false,
        "^FAIL +CUPS rights: the patron is in none of the SystemGroup of .*/cups-files.conf: "
        "lpadmin .* -- to do: add the patron to lpadmin",
        1);
    row("client running", ClientRunning, false,
        "^ok +client: running \\(pid \\d+, this session, started on its own\\)$", 0);
}

void HealthCheckTest::oneVerdictPerFault()
{
    QFETCH(int, fault);
    QFETCH(bool, tls);
    QFETCH(QString, verdict);
    QFETCH(int, status);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const auto path = [&](const QString &name) {
        return root.filePath(name);
    };
    QVERIFY(makeProgramFolders(root.path(), AppDir + QLatin1Char('/') + ClientName));
    QVERIFY(copyShippedLanguages(AppDir, path(QStringLiteral("app"))));
    QVERIFY(writeFile(
        path(QStringLiteral("bin/lpstat")), "#!/bin/sh\necho scheduler is running\n", true));
    if (fault != NoSiteFile)
        QVERIFY(writeFile(path(QStringLiteral("app/printClient.tsp")),
            siteFile(fault == UnresolvableName ? QStringLiteral("no-such-host.invalid")
                                               : QStringLiteral("127.0.0.1"),
                tls, m_certificates.caFile())));

    // The message port: the kernel accepts for a listener; a TLS one shakes hands.
    QTcpServer messages;
    TestHttpResponder tlsMessages;
    TestHttpResponder scripts;
    const TestCertificates::Server certificate = fault == UntrustedCertificate
        ? TestCertificates::OtherCa
        : fault == CertificateExpiresSoon ? TestCertificates::ExpiresSoon
                                          : TestCertificates::Good;
    if (tls) {
        tlsMessages.setTls(m_certificates.serverConfiguration(certificate));
        QVERIFY(tlsMessages.startListening(21327));
        scripts.setTls(m_certificates.serverConfiguration(certificate));
    } else if (fault != RefusedPort) {
        QVERIFY(messages.listen(QHostAddress::LocalHost, 21326));
    }
    if (fault == TricklingServer)
        scripts.setResponse("/printers/", scriptsResponse(), TestHttpResponder::Trickle, 200);
    else if (fault == CutScripts)
        scripts.setResponse("/printers/", scriptsResponse().left(scriptsResponse().size() - 20));
    else
        scripts.setResponse("/printers/", scriptsResponse());
    QVERIFY(scripts.startListening(tls ? 30045 : 30044));

    // The test's own group may add queues; the stock group is kept for the advice.
    const struct group *own = ::getgrgid(::getgid());
    QVERIFY(own);
    QVERIFY(writeFile(path(QStringLiteral("cups-files.conf")),
        QByteArray("# stock policy\nSystemGroup lpadmin ") + own->gr_name + '\n'));
    QProcessEnvironment environment = clientEnvironment(root.path(), QStringLiteral("patron7"));
    environment.insert(
        QStringLiteral("PELLORA_CUPS_FILES_CONF"), path(QStringLiteral("cups-files.conf")));
    QStringList options;
    if (fault == PatronOutsideSystemGroup) {
        // Root checks for a patron who is in neither group.
        if (::getuid() != 0)
            QSKIP("only root can check for another user");
        for (const QString &entry :
            {root.path(), path(QStringLiteral("bin")), path(QStringLiteral("bin/lpstat"))})
            QVERIFY(QFile::setPermissions(
                entry, QFile::permissions(entry) | QFile::ReadOther | QFile::ExeOther));
        options << QStringLiteral("--user") << QStringLiteral("nobody");
    }
    std::unique_ptr<TsSingleInstanceGuard> running;
    if (fault == ClientRunning) {
        // The lock as the client's instance guard takes it in the patron's runtime folder.
        running = std::make_unique<TsSingleInstanceGuard>(
            ClientId + QStringLiteral("-uid") + QString::number(::getuid()),
            path(QStringLiteral("run")));
        QVERIFY(!running->isRunning());
    }

    for (const bool json : {false, true}) {
        QProcess check;
        check.setProcessEnvironment(environment);
        check.setWorkingDirectory(path(QStringLiteral("home")));
        QElapsedTimer timer;
        timer.start();
        QStringList arguments = QStringList {QStringLiteral("--check")} + options;
        if (json)
            arguments << QStringLiteral("--json");
        check.start(path(QStringLiteral("app/")) + ClientName, arguments);
        QVERIFY(check.waitForFinished(int(TimeBoundMs) + 10000));
        const qint64 elapsed = timer.elapsed();
        const QByteArray out = check.readAllStandardOutput();
        QVERIFY2(elapsed < TimeBoundMs, qPrintable(QString::number(elapsed)));
        QCOMPARE(check.exitStatus(), QProcess::NormalExit);
        QVERIFY2(check.exitCode() == status, out.constData());
        if (json) {
            const QJsonObject object = QJsonDocument::fromJson(out).object();
            QCOMPARE(object.value(QStringLiteral("printingWorks")).toBool(), status == 0);
            QVERIFY(object.value(QStringLiteral("checks")).toArray().size() >= 9);
        } else {
            const QRegularExpression pattern(verdict);
            bool found = false;
            for (const QByteArray &line : out.split('\n'))
                found = found || pattern.match(QString::fromUtf8(line)).hasMatch();
            QVERIFY2(found, out.constData());
        }
    }
    // Nothing written: no address saved, no lock or folder made for the patron.
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("home/.pelloraVav"))));
    if (fault == NoSiteFile)
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("app/printClient.tsp"))));
    if (fault != ClientRunning)
        QCOMPARE(
            QDir(path(QStringLiteral("run"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList());
}

QTEST_GUILESS_MAIN(HealthCheckTest)
#include "tst_healthcheck.moc"
