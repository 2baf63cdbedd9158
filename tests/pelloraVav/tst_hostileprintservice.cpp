// The built client against a Print Service that means harm: whatever arrives
// on the message connection or over HTTP, the client stays alive, small and
// answering, and quits within its bound when told to.

#include "HexEncrypt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "TestEnvironment.h"
#include "TestHttpResponder.h"
#include "WholeProgram.h"

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

const QString AppDir = QStringLiteral(PELLORA_APP_DIR);
const QString ClientName = QStringLiteral("pelloraVav");

// Every quit, whatever hangs, ends within this.
constexpr int QuitBoundMs = 30000;
// A fetch looks at the quit request every 0.1 s: a quit during one ends at once.
constexpr int FetchQuitBoundMs = 1000;
// The next text is answered this soon after a dialog closes.
constexpr int AnswerAfterDialogMs = 1000;
constexpr int DialogTimeout = 20000;
constexpr int FloodTexts = 10000;
constexpr int HugeTranslationBytes = 64 * 1024 * 1024;

const QString ZeroImage = QStringLiteral("<img src=\"/dev/zero\">");
const QString FifoImage = QStringLiteral("<img src=\"{fifo}\">");
const QString HugeImage = QStringLiteral("<img width=4000 height=3000>");
const QString JobCanceledText = QStringLiteral("The document will be canceled");
const QString OverriddenJobCanceledCaption = QStringLiteral("Job Canceled by the Print Service");

// How /printers/ is served: the first answer, then every later one.
enum class Printers { Whole, TrickledOnce, CutOnce, Trickled };
enum class Quit { None, DuringFetch, WithCupsHung };

// Polls the client's resident memory and ends it at the bound, so that a
// client that runs away costs the machine no more than that.
class MemoryWatch
{
public:
    explicit MemoryWatch(qint64 pid)
        : m_pid(pid)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { sample(); });
        m_timer.start(25);
    }
    void sample()
    {
        const qint64 kb = processStatusField(m_pid, "VmRSS");
        m_peakKb = std::max(m_peakKb, kb);
        if (kb > MemoryBoundKb && !m_exceeded) {
            m_exceeded = true;
            ::kill(pid_t(m_pid), SIGKILL);
        }
    }
    bool exceeded() const { return m_exceeded; }
    qint64 peakKb() const { return m_peakKb; }

private:
    qint64 m_pid;
    QTimer m_timer;
    qint64 m_peakKb = 0;
    bool m_exceeded = false;
};

QByteArray scriptLine(const QString &script)
{
    return UtilsLib::HexEncrypt::encryptData(script).toLatin1() + '\n';
}

} // namespace

Q_DECLARE_METATYPE(Printers)
Q_DECLARE_METATYPE(Quit)

class HostilePrintServiceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void hostilePrintService_data();
    void hostilePrintService();
    void traceOfAPrintJobHoldsNoSecret();

private:
    QString path(const QString &name) const { return m_root->filePath(name); }
    Child *start(std::unique_ptr<Child> child);
    Child *startSimulator();
    Child *startClient(const QStringList &arguments = {});
    bool clientGone() const;
    QString why() const;
    // Sends SIGTERM: empty when the client then ends within the quit bound.
    QString terminateClient(int boundMs = QuitBoundMs);
    // The index of the first simulator line from `from` on that is a received
    // text matching `pattern`, or -1 once the wait is over.
    int waitForText(const QString &pattern, int from, int timeout);
    void type(const QString &commands);
    QString findWindow(const QString &title) const;
    bool waitForWindow(const QString &title, QString *window);
    void press(const QString &window, const QString &key);
    QByteArray overrideTranslation(const QString &text);

    std::unique_ptr<QTemporaryDir> m_root;
    std::vector<std::unique_ptr<Child>> m_children;
    std::unique_ptr<TestHttpResponder> m_http;
    // The printer scripts served when all is well.
    QByteArray m_scripts;
    QString m_display;
    Child *m_simulator = nullptr;
    Child *m_client = nullptr;
    std::unique_ptr<MemoryWatch> m_watch;
};

void HostilePrintServiceTest::initTestCase()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    QVERIFY2(QFileInfo(AppDir + QLatin1Char('/') + ClientName).isExecutable(), qPrintable(AppDir));
}

void HostilePrintServiceTest::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QVERIFY(makeProgramFolders(m_root->path(), AppDir + QLatin1Char('/') + ClientName));
    // The shipped languages: without its own file a language takes no override.
    QVERIFY(QDir().mkpath(path(QStringLiteral("app/languages"))));
    const QDir shipped(AppDir + QStringLiteral("/languages"));
    for (const QString &file : shipped.entryList({QStringLiteral("*.qm")}, QDir::Files))
        QVERIFY(QFile::copy(shipped.filePath(file), path(QStringLiteral("app/languages/") + file)));
    QVERIFY(writeFile(path(QStringLiteral("app/printClient.tsp")),
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n<version>1.1</version>\n"
        "<type>Mac Printer Connector</type>\n"
        "<entry name='Print Service Address'>127.0.0.1</entry>\n</Settings>\n"));
    QVERIFY(::mkfifo(qPrintable(path(QStringLiteral("image.fifo"))), 0600) == 0);

    // The CUPS tools: lpstat names Lab_Laser; once bin/hang exists every one
    // of them hangs, leaving its process id in bin/hung.
    const QByteArray hang = "[ -e " + shellQuoted(path(QStringLiteral("bin/hang")))
        + " ] && { echo $$ >> " + shellQuoted(path(QStringLiteral("bin/hung")))
        + "; exec sleep 3600; }\n";
    QVERIFY(writeFile(path(QStringLiteral("bin/lpstat")),
        "#!/bin/sh\n" + hang + "echo 'system default destination: Lab_Laser'\n", true));
    QVERIFY(
        writeFile(path(QStringLiteral("bin/lpoptions")), "#!/bin/sh\n" + hang + "exit 0\n", true));

    QString display;
    m_children.push_back(startXvfb(&display));
    QVERIFY2(!display.isEmpty(), m_children.back()->report().constData());
    m_display = display;
    m_scripts = scriptLine(QStringLiteral("echo installed >> ")
                    + QString::fromUtf8(shellQuoted(path(QStringLiteral("install.log")))))
        + scriptLine(QStringLiteral("echo removed >> ")
            + QString::fromUtf8(shellQuoted(path(QStringLiteral("remove.log")))));
    m_http = std::make_unique<TestHttpResponder>();
    m_http->setResponse("/printers/", TestHttpResponder::reply(200, m_scripts));
    QVERIFY2(m_http->startListening(30044), "port 30044 is taken");
}

void HostilePrintServiceTest::cleanup()
{
    if (QTest::currentTestFailed()) {
        // A flood's echo would bury the rest.
        QStringList report;
        for (const auto &child : m_children) {
            for (const QString &line :
                QString::fromUtf8(child->report()).split(QLatin1Char('\n'))) {
                if (!line.startsWith(QLatin1String("SENT")))
                    report << line.left(300);
            }
        }
        qWarning().noquote() << report.join(QLatin1Char('\n'));
    }
    m_watch.reset();
    // Clients first, the display last.
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        (*it)->stop();
    m_children.clear();
    m_simulator = nullptr;
    m_client = nullptr;
    for (const QString &pid : readLines(path(QStringLiteral("bin/hung"))))
        ::kill(pid_t(pid.toLongLong()), SIGKILL);
    m_http.reset();
    m_root.reset();
}

Child *HostilePrintServiceTest::start(std::unique_ptr<Child> child)
{
    Child *started = child.get();
    m_children.push_back(std::move(child));
    return started;
}

Child *HostilePrintServiceTest::startSimulator()
{
    // The message port only: HTTP is the test's own, on 30044.
    Child *simulator = start(std::make_unique<Child>(QStringLiteral("printservicesim")));
    simulator->process.start(AppDir + QStringLiteral("/printservicesim"),
        {QStringLiteral("--http-port"), QStringLiteral("0")});
    if (simulator->waitFor(QRegularExpression(QStringLiteral("^LISTEN http")), 0, StartTimeout) < 0)
        return nullptr;
    m_simulator = simulator;
    return simulator;
}

Child *HostilePrintServiceTest::startClient(const QStringList &arguments)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
    environment.insert(QStringLiteral("USER"), QStringLiteral("patron7"));
    environment.insert(QStringLiteral("PATH"),
        path(QStringLiteral("bin")) + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (own.contains(QLatin1String(name)))
            environment.insert(QLatin1String(name), own.value(QLatin1String(name)));
    }
    Child *client = start(std::make_unique<Child>(QStringLiteral("client")));
    client->process.setProcessEnvironment(environment);
    client->process.setWorkingDirectory(path(QStringLiteral("home")));
    client->process.start(path(QStringLiteral("app/")) + ClientName, arguments);
    if (!client->process.waitForStarted(StartTimeout))
        return nullptr;
    m_client = client;
    m_watch = std::make_unique<MemoryWatch>(client->process.processId());
    return client;
}

bool HostilePrintServiceTest::clientGone() const
{
    return !m_client || !m_client->isRunning() || (m_watch && m_watch->exceeded());
}

QString HostilePrintServiceTest::why() const
{
    if (!m_watch || !m_client)
        return QStringLiteral("no client");
    return QStringLiteral("client %1, VmRSS peak %2 kB (bound %3 kB)")
        .arg(m_watch->exceeded()        ? QStringLiteral("ended at the memory bound")
                : m_client->isRunning() ? QStringLiteral("running")
                                        : QStringLiteral("ended"))
        .arg(m_watch->peakKb())
        .arg(MemoryBoundKb);
}

QString HostilePrintServiceTest::terminateClient(int boundMs)
{
    QElapsedTimer quitting;
    quitting.start();
    ::kill(pid_t(m_client->process.processId()), SIGTERM);
    if (QTest::qWaitFor([&] { return !m_client->isRunning(); }, boundMs))
        return {};
    return QStringLiteral("still running %1 ms after SIGTERM; ").arg(quitting.elapsed()) + why();
}

int HostilePrintServiceTest::waitForText(const QString &pattern, int from, int timeout)
{
    const QRegularExpression wanted(QStringLiteral("^RECV ") + pattern);
    int index = -1;
    (void)QTest::qWaitFor(
        [&] { return (index = m_simulator->find(wanted, from)) >= 0 || clientGone(); }, timeout);
    return index;
}

void HostilePrintServiceTest::type(const QString &commands)
{
    m_simulator->process.write(commands.toUtf8());
    m_simulator->process.waitForBytesWritten(AnswerTimeout);
}

QString HostilePrintServiceTest::findWindow(const QString &title) const
{
    return xdotool(m_display,
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            title})
        .section(QLatin1Char('\n'), 0, 0);
}

bool HostilePrintServiceTest::waitForWindow(const QString &title, QString *window)
{
    return QTest::qWaitFor([&] { return !(*window = findWindow(title)).isEmpty() || clientGone(); },
               DialogTimeout)
        && !window->isEmpty();
}

void HostilePrintServiceTest::press(const QString &window, const QString &key)
{
    xdotool(m_display,
        {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window, QStringLiteral("key"),
            key});
}

// A compiled override translation that turns the job deleted box's text into
// `text`, and its caption into OverriddenJobCanceledCaption, which shows that
// the override is in force.
QByteArray HostilePrintServiceTest::overrideTranslation(const QString &text)
{
    const QString source = path(QStringLiteral("override.ts"));
    const QString compiled = path(QStringLiteral("override.qm"));
    const QString ts = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
        "<TS version=\"2.1\" language=\"en_us\">\n<context>\n<name>CommonDialogMessages</name>\n"
        "<message>\n<source>Job Canceled</source>\n<translation>%1</translation>\n</message>\n"
        "<message>\n<source>%2</source>\n<translation>%3</translation>\n</message>\n"
        "</context>\n</TS>\n")
                           .arg(OverriddenJobCanceledCaption, JobCanceledText.toHtmlEscaped(),
                               text.toHtmlEscaped());
    if (!writeFile(source, ts.toUtf8()))
        return {};
    QProcess lrelease;
    lrelease.start(QStringLiteral(LRELEASE),
        {QStringLiteral("-silent"), source, QStringLiteral("-qm"), compiled});
    if (!lrelease.waitForFinished(StartTimeout) || lrelease.exitCode() != 0)
        return {};
    return readAll(compiled);
}

void HostilePrintServiceTest::hostilePrintService_data()
{
    QTest::addColumn<Printers>("printers");
    // What the override translation of the start-up language makes of the
    // job deleted box's text; none when empty.
    QTest::addColumn<QString>("jobCanceledText");
    // Served for the dialect that the texts' settings message makes the default.
    QTest::addColumn<int>("overrideBytes");
    QTest::addColumn<QStringList>("texts");
    // The dialog the texts bring up, and the key that closes it.
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("key");
    // While the dialog is open, this many more job announcements.
    QTest::addColumn<int>("flood");
    // The answer to the last text.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<Quit>("quit");

    const QString endOfSession = QStringLiteral("86\\|\\d{14}$");
    const struct
    {
        const char *name;
        QString image;
    } images[] = {{"/dev/zero", ZeroImage}, {"a FIFO", FifoImage}, {"4000x3000", HugeImage}};
    for (const auto &image : images) {
        // clang-format off
        QTest::addRow("%s in a failure verdict", image.name) << Printers::Whole << QString() << 0
            << QStringList {QStringLiteral("56|{ts}|5|HLogin Failed|T%1|A0").arg(image.image)}
            << QStringLiteral("^Login Failed$") << QStringLiteral("Return") << 0 << endOfSession
            << Quit::None;
        QTest::addRow("%s in a release", image.name) << Printers::Whole << QString() << 0
            << QStringList {QStringLiteral("62|{ts}|A1|B7|C%1|DMain floor|E|FDA|G|H$0.30|I")
                   .arg(image.image)}
            << QStringLiteral("^Job Released$") << QStringLiteral("Return") << 0 << endOfSession
            << Quit::None;
        QTest::addRow("%s in a job's cost", image.name) << Printers::Whole << QString() << 0
            << QStringList {QStringLiteral("4|{ts}|A3|B$0.10|C0|E%1|H0|I1").arg(image.image)}
            << QStringLiteral("^Print this job\\?$") << QStringLiteral("Escape") << 0
            << QStringLiteral("7\\|\\d{14}$") << Quit::None;
        QTest::addRow("%s in a job deleted text", image.name) << Printers::Whole << image.image << 0
            << QStringList {QStringLiteral("51|{ts}")}
            << QLatin1Char('^') + OverriddenJobCanceledCaption + QLatin1Char('$')
            << QStringLiteral("Return") << 0 << endOfSession
            << Quit::None;
        QTest::addRow("%s in a confirmation", image.name) << Printers::Whole << QString() << 0
            << QStringList {QStringLiteral("6|{ts}|1|J1234|T%1|L%1#^#%1").arg(image.image)}
            << QStringLiteral("^Print Complete$") << QStringLiteral("Return") << 0 << endOfSession
            << Quit::None;
        // clang-format on
    }
    // clang-format off
    QTest::addRow("printer scripts trickled a byte a second") << Printers::TrickledOnce << QString()
        << 0 << QStringList() << QString() << QString() << 0 << QString() << Quit::None;
    QTest::addRow("printer scripts cut short") << Printers::CutOnce << QString() << 0
        << QStringList() << QString() << QString() << 0 << QString() << Quit::None;
    QTest::addRow("a flood of job announcements behind the cost dialog") << Printers::Whole
        << QString() << 0 << QStringList {QStringLiteral("4|{ts}|A3|B$0.10|C0|E$0.30|H0|I1")}
        << QStringLiteral("^Print this job\\?$") << QStringLiteral("Escape") << FloodTexts
        << QString() << Quit::None;
    QTest::addRow("a 64 MiB override translation") << Printers::Whole << QString()
        << HugeTranslationBytes
        << QStringList {QStringLiteral("58|{ts}|Pen_us,fr_ca|Qfr_ca|L30044")} << QString()
        << QString() << 0 << QStringLiteral("59\\|\\d{14}\\|A.*") << Quit::None;
    QTest::addRow("SIGTERM while CUPS hangs") << Printers::Whole << QString() << 0
        << QStringList() << QString() << QString() << 0 << QString() << Quit::WithCupsHung;
    QTest::addRow("SIGTERM during a trickled fetch") << Printers::Trickled << QString() << 0
        << QStringList() << QString() << QString() << 0 << QString() << Quit::DuringFetch;
    // clang-format on
}

void HostilePrintServiceTest::hostilePrintService()
{
    QFETCH(Printers, printers);
    QFETCH(QString, jobCanceledText);
    QFETCH(int, overrideBytes);
    QFETCH(QStringList, texts);
    QFETCH(QString, dialog);
    QFETCH(QString, key);
    QFETCH(int, flood);
    QFETCH(QString, answer);
    QFETCH(Quit, quit);

    const QString marker = path(QStringLiteral("cut-script-ran"));
    if (printers == Printers::CutOnce) {
        // The installation line whole, the removal line cut in its middle,
        // the connection closed.
        const QByteArray removal = scriptLine(QStringLiteral("echo removed >> ")
            + QString::fromUtf8(shellQuoted(path(QStringLiteral("remove.log")))));
        const QByteArray whole = TestHttpResponder::reply(200,
            scriptLine(QStringLiteral("touch ") + QString::fromUtf8(shellQuoted(marker)))
                + removal);
        m_http->setResponseOnce(
            "/printers/", {whole.left(whole.size() - removal.size() / 2), TestHttpResponder::Send});
    } else if (printers != Printers::Whole) {
        // Long enough to outlast every bound at a byte a second; the lines
        // after the two scripts are ignored.
        const TestHttpResponder::Response trickled {
            TestHttpResponder::reply(200, m_scripts + QByteArray(600, '0') + '\n'),
            TestHttpResponder::Trickle, 1000};
        if (printers == Printers::Trickled)
            m_http->setResponse("/printers/", trickled);
        else
            m_http->setResponseOnce("/printers/", trickled);
    }
    if (!jobCanceledText.isEmpty()) {
        const QByteArray translation = overrideTranslation(
            jobCanceledText.replace(QLatin1String("{fifo}"), path(QStringLiteral("image.fifo"))));
        QVERIFY2(!translation.isEmpty(), "lrelease failed");
        m_http->setResponse(
            "/languages/EN_US_OVERRIDE.qm", TestHttpResponder::reply(200, translation));
    }
    if (overrideBytes > 0) {
        // A translation file's signature, then nothing but zeros.
        const QByteArray signature = QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd");
        QByteArray huge = signature + QByteArray(overrideBytes - signature.size(), '\0');
        const QByteArray reply = TestHttpResponder::reply(200, huge);
        m_http->setResponse("/languages/FR_CA_OVERRIDE.qm", reply);
        m_http->setResponse("/languages/fr_ca_OVERRIDE.qm", reply);
    }

    QVERIFY2(startSimulator(), qPrintable(why()));
    QVERIFY2(startClient(), qPrintable(why()));

    if (quit == Quit::DuringFetch) {
        QVERIFY2(QTest::qWaitFor([&] { return m_http->requestCount() > 0; }, StartTimeout),
            qPrintable(why()));
        QTest::qWait(2000);
        QVERIFY2(m_client->isRunning(), qPrintable(why()));
        const QString late = terminateClient(FetchQuitBoundMs);
        QVERIFY2(late.isEmpty(), qPrintable(late));
        QVERIFY(!QFile::exists(path(QStringLiteral("install.log"))));
        QVERIFY2(!m_watch->exceeded(), qPrintable(why()));
        return;
    }

    // Every start, trickled or cut, ends connected and registered.
    int from = waitForText(QStringLiteral("register:"), 0, StartTimeout);
    QVERIFY2(from >= 0, qPrintable(why()));
    QVERIFY2(!QFile::exists(marker), "the cut installation script ran");
    from += 1;

    const QString fifo = path(QStringLiteral("image.fifo"));
    for (const QString &text : std::as_const(texts))
        type(QStringLiteral("send ") + QString(text).replace(QLatin1String("{fifo}"), fifo)
            + QLatin1Char('\n'));
    QElapsedTimer closed;
    if (!dialog.isEmpty()) {
        QString window;
        QVERIFY2(waitForWindow(dialog, &window),
            qPrintable(QStringLiteral("no dialog %1; ").arg(dialog) + why()));
        // Inside the 1024x768 screen: a dialog that covers it hides everything.
        const QString geometry = xdotool(
            m_display, {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        QRegularExpressionMatch size
            = QRegularExpression(QStringLiteral("WIDTH=(\\d+)\\nHEIGHT=(\\d+)")).match(geometry);
        QVERIFY2(
            size.hasMatch() && size.captured(1).toInt() <= 1024 && size.captured(2).toInt() <= 768,
            qPrintable(geometry));

        if (flood > 0) {
            const int beforeFlood = int(m_simulator->lines.size());
            // One write, so that all of it goes to this connection.
            QString batch = QStringLiteral("send-raw ");
            for (int i = 0; i < flood; ++i)
                batch += QStringLiteral("4|{ts}|A3|B$0.10|E$0.30|Z%1\\0")
                             .arg(i, 100, 10, QLatin1Char('0'));
            type(batch + QLatin1Char('\n'));
            // Past its bound the queue costs the connection: the client is back on a new one.
            QVERIFY2(waitForText(QStringLiteral("register:"), beforeFlood, AnswerTimeout) >= 0,
                qPrintable(QStringLiteral("no new connection after the flood; ") + why()));
            from = int(m_simulator->lines.size());
            window = findWindow(dialog);
        }
        if (!window.isEmpty())
            press(window, key);
        closed.start();
    }
    if (!answer.isEmpty()) {
        const int answered = waitForText(answer, from, AnswerTimeout);
        QVERIFY2(answered >= 0, qPrintable(QStringLiteral("no answer %1; ").arg(answer) + why()));
        closed.start();
        from = answered + 1;
    }
    if (!closed.isValid())
        closed.start();

    type(QStringLiteral("send 60|{ts}\n"));
    const int acknowledged = waitForText(QStringLiteral("80\\|\\d{14}$"), from, AnswerTimeout);
    const qint64 answerMs = closed.elapsed();
    QVERIFY2(acknowledged >= 0, qPrintable(QStringLiteral("60 not answered; ") + why()));
    QVERIFY2(answerMs <= AnswerAfterDialogMs,
        qPrintable(QStringLiteral("60 answered after %1 ms; ").arg(answerMs) + why()));

    if (quit == Quit::WithCupsHung) {
        QVERIFY(writeFile(path(QStringLiteral("bin/hang")), QByteArray()));
        const QString late = terminateClient();
        QVERIFY2(late.isEmpty(), qPrintable(late));
        // The removal script still ran on the way out.
        QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 2);
    } else {
        QVERIFY2(m_client->isRunning(), qPrintable(why()));
    }
    m_watch->sample();
    QVERIFY2(!m_watch->exceeded() && m_watch->peakKb() > 0, qPrintable(why()));
    qInfo("VmRSS peak %lld kB; 60 answered %lld ms after the dialog closed", m_watch->peakKb(),
        answerMs);
}

// The trace of a whole print job, as an administrator turns it on: the PIN and
// the staff password are in none of its lines, and only the user may read it.
void HostilePrintServiceTest::traceOfAPrintJobHoldsNoSecret()
{
    const QString pin = QStringLiteral("97531");
    const QString staffPassword = QStringLiteral("s3cretStaff");
    const QString tracePath = path(QStringLiteral("trace.txt"));
    QVERIFY2(startSimulator(), qPrintable(why()));
    QVERIFY2(startClient({QStringLiteral("-trace=") + tracePath}), qPrintable(why()));
    int from = waitForText(QStringLiteral("register:"), 0, StartTimeout);
    QVERIFY2(from >= 0, qPrintable(why()));

    const auto exchange = [&](const QString &text, const QString &title, const QStringList &keys,
                              const QString &answer) {
        type(QStringLiteral("send ") + text + QLatin1Char('\n'));
        if (!title.isEmpty()) {
            QString window;
            if (!waitForWindow(title, &window))
                return false;
            xdotool(m_display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
            for (const QString &key : keys) {
                if (key.startsWith(QLatin1Char('=')))
                    xdotool(m_display,
                        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                            key.mid(1)});
                else
                    xdotool(m_display, {QStringLiteral("key"), key});
            }
        }
        const int answered = waitForText(answer, from, AnswerTimeout);
        from = answered + 1;
        return answered >= 0;
    };
    QVERIFY2(
        exchange(QStringLiteral("58|{ts}|A") + UtilsLib::HexEncrypt::encryptData(staffPassword),
            QString(), {}, QStringLiteral("59\\|")),
        qPrintable(why()));
    QVERIFY2(exchange(QStringLiteral("54|{ts}|0"), QStringLiteral("^User Identification$"),
                 {QStringLiteral("=jo"), QStringLiteral("Tab"), QLatin1Char('=') + pin,
                     QStringLiteral("Return")},
                 QStringLiteral("55\\|\\d{14}\\|0\\|JO\\|JO\\|")
                     + UtilsLib::HexEncrypt::encryptData(pin) + QLatin1Char('$')),
        qPrintable(why()));
    QVERIFY2(exchange(QStringLiteral("4|{ts}|A3|B$0.10|C0|E$0.30|H0|I1"),
                 QStringLiteral("^Print this job\\?$"), {QStringLiteral("Return")},
                 QStringLiteral("5\\|")),
        qPrintable(why()));
    QVERIFY2(exchange(QStringLiteral("6|{ts}|1|J1234|T2026-12-09T17:30:00|LDesk 1#^#Main floor"),
                 QStringLiteral("^Print Complete$"), {QStringLiteral("Return")},
                 QStringLiteral("86\\|")),
        qPrintable(why()));

    // The exchange is in the trace; its secrets are not, in clear or as sent.
    QTRY_VERIFY_WITH_TIMEOUT(readAll(tracePath).contains("86|"), AnswerTimeout);
    const QByteArray trace = readAll(tracePath);
    QVERIFY(trace.contains("55|"));
    QVERIFY(trace.contains("58|"));
    for (const QString &secret : {pin, UtilsLib::HexEncrypt::encryptData(pin), staffPassword,
             UtilsLib::HexEncrypt::encryptData(staffPassword)})
        QVERIFY2(!trace.contains(secret.toUtf8()), qPrintable(secret));
    struct stat status
    { };
    QCOMPARE(::stat(qPrintable(tracePath), &status), 0);
    QCOMPARE(status.st_mode & 0777, mode_t(0600));
}

QTEST_GUILESS_MAIN(HostilePrintServiceTest)
#include "tst_hostileprintservice.moc"
