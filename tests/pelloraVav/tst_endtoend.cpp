// The built client as a whole, against the Print Service simulator: each case
// runs a copy of the program in a folder of its own, with a private home,
// runtime folder and stand-ins for the CUPS tools.

#include "HexEncrypt.h"
#include "WholeProgram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include "LogSocket.h"
#include "TestEnvironment.h"
#include "TestHttpResponder.h"

#include <algorithm>
#include <csignal>
#include <memory>

namespace {

const QString AppDir = QStringLiteral(PELLORA_APP_DIR);
const QString ClientName = QStringLiteral("pelloraVav");
const QString DefaultUser = QStringLiteral("patron7");
const QString AttemptFailedLine
    = QStringLiteral("Attempt failed to communicate with Print Service");

const QString MainWindowCaption = QString::fromUtf8("Pellora\u2122 Print Client");
// xdotool matches bytes: the trademark sign is left to the exact comparison.
const QString MainWindowTitlePattern = QStringLiteral("^Pellora.* Print Client$");

// The processes whose parent is `parent` and whose program is `program`.
QList<qint64> childProcesses(qint64 parent, const QString &program)
{
    QList<qint64> children;
    const QString target = QFileInfo(program).canonicalFilePath();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and parentheses.
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toLongLong() == parent
            && QFileInfo(QStringLiteral("/proc/%1/exe").arg(entry)).canonicalFilePath() == target)
            children.append(pid);
    }
    return children;
}

// The type and the entries of a preferences file.
struct ConfigFile
{
    QString type;
    QMap<QString, QString> entries;
    bool valid = false;
};

ConfigFile readConfigFile(const QString &path)
{
    ConfigFile config;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return config;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Settings"))
        return config;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("type"))
            config.type = xml.readElementText();
        else if (xml.name() == QLatin1String("entry")) {
            const QString name = xml.attributes().value(QLatin1String("name")).toString();
            config.entries.insert(name, xml.readElementText());
        } else
            xml.skipCurrentElement();
    }
    config.valid = !xml.hasError();
    return config;
}

// The Print Service's end of one message connection, played by the test
// itself where the simulator's typed commands are too slow or too tidy.
class ServiceEnd
{
public:
    explicit ServiceEnd(QTcpSocket *connection)
        : socket(connection)
    {
        QObject::connect(socket.get(), &QTcpSocket::readyRead, socket.get(), [this] {
            m_partial += socket->readAll();
            for (const QByteArray &text : takeTerminated(&m_partial, '\0'))
                texts.append(QString::fromUtf8(text));
        });
    }

    // The client's next connection once its first text is in, or null.
    static std::unique_ptr<ServiceEnd> accept(QTcpServer *server)
    {
        if (!QTest::qWaitFor([server] { return server->hasPendingConnections(); }, StartTimeout))
            return nullptr;
        auto end = std::make_unique<ServiceEnd>(server->nextPendingConnection());
        return end->waitForTexts(1) ? std::move(end) : nullptr;
    }

    bool isConnected() const { return socket->state() == QAbstractSocket::ConnectedState; }
    bool waitForTexts(int count)
    {
        return QTest::qWaitFor([&] { return texts.size() >= count; }, AnswerTimeout);
    }
    // Writes the bytes and waits until the kernel took them, or the connection ended.
    bool send(const QByteArray &bytes)
    {
        socket->write(bytes);
        return QTest::qWaitFor(
                   [&] { return socket->bytesToWrite() == 0 || !isConnected(); }, AnswerTimeout)
            && isConnected();
    }

    std::unique_ptr<QTcpSocket> socket;
    QStringList texts;

private:
    QByteArray m_partial;
};

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartAsksForTheAddressAndSavesIt();
    void quitWhileAskingForTheAddress();
    void registersFirstOnEveryConnection_data();
    void registersFirstOnEveryConnection();
    void answersEveryText_data();
    void answersEveryText();
    void reconnectsAndRegistersAgain_data();
    void reconnectsAndRegistersAgain();
    void quitRequestRemovesPrintersAndRestoresDefault_data();
    void quitRequestRemovesPrintersAndRestoresDefault();
    void secondInstanceEndsAtOnce();
    void launcherRestartsTheClientAfterACrash_data();
    void launcherRestartsTheClientAfterACrash();
    void systemLogTellsWhatHappenedWithoutSecrets();
    void traceFile_data();
    void traceFile();
    void keepsAskingForPrintersUntilToldToQuit_data();
    void keepsAskingForPrintersUntilToldToQuit();
    void patronIdentifiesAndFailedVerdictAsksAgain();
    void jobStatusReachesThePatron();
    void patronAnswersTheJobCost_data();
    void patronAnswersTheJobCost();
    void pageLimitNeverRefusesAJobOnThisPlatform();
    void mainWindowStopsTheClient_data();
    void mainWindowStopsTheClient();
    void staffPasswordGuardsTheStop();
    void dialogsSpeakTheChosenLanguage_data();
    void dialogsSpeakTheChosenLanguage();
    void languageChosenInTheOpenDialog();
    void settingsAreAnsweredWithTheLocaleInForce();
    void outdatedClientQuitsAfterItsAnswer();
    void endlessTextCostsTheConnectionNotTheClient();
    void flappingPrintService();
    void killedClientRestoresThePatronsDefaultNextTime_data();
    void killedClientRestoresThePatronsDefaultNextTime();

private:
    QString path(const QString &name) const { return m_root->filePath(name); }
    QString appPath(const QString &name) const { return path(QStringLiteral("app/") + name); }
    QProcessEnvironment clientEnvironment() const;
    void writeConfig(const QString &address);

    Child *startSimulator(const QStringList &extraArguments = {}, bool typedCommands = false);
    // The simulator for HTTP only, its message port the test's own server.
    bool playPrintService(QTcpServer *service);
    Child *startClient(const QStringList &arguments = {},
        const QProcessEnvironment &environment = QProcessEnvironment());
    // Index of the next registration text the simulator received, or -1.
    int waitForRegistration(Child *simulator, int from = 0);
    QStringList receivedTexts(Child *simulator, int from = 0) const;
    void type(Child *simulator, const QString &commands);
    QString registrationText(const QString &user) const;
    QByteArray reports() const;
    // The client on a private X display, where xdotool can act as the patron.
    Child *startClientOnDisplay(QString *displayName, const QStringList &arguments = {});
    // Focuses the first visible window whose title matches and presses the
    // keys (separated by blanks) in turn.
    bool pressIn(const QString &displayName, const QString &title, const QString &keys);
    // The client's own translations in the copy of the application folder.
    void installShippedLanguages();

    QString m_simulatorPath;
    std::unique_ptr<QTemporaryDir> m_root;
    std::vector<std::unique_ptr<Child>> m_children;

private:
    // An X server for the client alone: its display name, empty if none.
    QString startDisplay();
    // The client's main window, once it is shown.
    QString findMainWindow(const QString &display) const;
    void writeDedicatedConfig(bool dedicated);
};

void EndToEndTest::initTestCase()
{
    m_simulatorPath = AppDir + QStringLiteral("/printservicesim");
    QVERIFY2(QFileInfo(AppDir + QLatin1Char('/') + ClientName).isExecutable(), qPrintable(AppDir));
    QVERIFY2(QFileInfo(m_simulatorPath).isExecutable(), qPrintable(m_simulatorPath));
}

void EndToEndTest::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QVERIFY(makeProgramFolders(m_root->path(), AppDir + QLatin1Char('/') + ClientName));

    // The CUPS tools as the client calls them: lpstat names the default kept
    // in bin/default, lpoptions -d sets it, and every lpoptions is recorded.
    const QByteArray state = shellQuoted(path(QStringLiteral("bin/default")));
    QVERIFY(writeFile(path(QStringLiteral("bin/default")), "Lab_Laser\n"));
    QVERIFY(writeFile(path(QStringLiteral("bin/lpstat")),
        "#!/bin/sh\nd=$(cat " + state
            + ")\nif [ -n \"$d\" ]; then echo \"system default destination: $d\"; "
              "else echo 'no system default destination'; fi\n",
        true));
    QVERIFY(writeFile(path(QStringLiteral("bin/lpoptions")),
        "#!/bin/sh\nprintf '%s\\n' \"$*\" >> " + shellQuoted(path(QStringLiteral("lpoptions.log")))
            + "\n[ \"$1\" = -d ] && echo \"$2\" > " + state + "\nexit 0\n",
        true));
    writeConfig(QStringLiteral("127.0.0.1"));
}

void EndToEndTest::cleanup()
{
    if (QTest::currentTestFailed())
        qWarning().noquote() << QString::fromUtf8(reports());
    // Clients first: a simulator that goes first would make them reconnect.
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        (*it)->stop();
    m_children.clear();
    m_root.reset();
}

void EndToEndTest::writeConfig(const QString &address)
{
    QVERIFY(writeServiceAddress(path(QStringLiteral("app")), address));
}

QProcessEnvironment EndToEndTest::clientEnvironment() const
{
    return ::clientEnvironment(m_root->path(), DefaultUser);
}

Child *EndToEndTest::startSimulator(const QStringList &extraArguments, bool typedCommands)
{
    auto child = std::make_unique<Child>(QStringLiteral("printservicesim"));
    QStringList arguments {QStringLiteral("--install-script"),
        QStringLiteral("echo installed >> ")
            + QString::fromUtf8(shellQuoted(path(QStringLiteral("install.log")))),
        QStringLiteral("--remove-script"),
        QStringLiteral("echo removed >> ")
            + QString::fromUtf8(shellQuoted(path(QStringLiteral("remove.log"))))};
    if (!typedCommands)
        arguments << QStringLiteral("--no-stdin");
    arguments << extraArguments;
    child->process.start(m_simulatorPath, arguments);
    Child *simulator = child.get();
    m_children.push_back(std::move(child));
    // Both ports are fixed: a simulator that cannot have them says so and ends.
    const bool listening = QTest::qWaitFor(
        [simulator] {
            return simulator->find(QRegularExpression(QStringLiteral("^LISTEN http"))) >= 0
                || simulator->process.state() == QProcess::NotRunning;
        },
        StartTimeout);
    if (!listening || !simulator->isRunning())
        return nullptr;
    return simulator;
}

bool EndToEndTest::playPrintService(QTcpServer *service)
{
    return startSimulator({QStringLiteral("--port"), QStringLiteral("0")})
        && service->listen(QHostAddress::LocalHost, 21326);
}

Child *EndToEndTest::startClient(
    const QStringList &arguments, const QProcessEnvironment &environment)
{
    auto child = std::make_unique<Child>(QStringLiteral("client"));
    child->process.setProcessEnvironment(environment.isEmpty() ? clientEnvironment() : environment);
    child->process.setWorkingDirectory(path(QStringLiteral("home")));
    child->process.start(appPath(ClientName), arguments);
    Child *client = child.get();
    m_children.push_back(std::move(child));
    return client->process.waitForStarted(StartTimeout) ? client : nullptr;
}

int EndToEndTest::waitForRegistration(Child *simulator, int from)
{
    return simulator->waitFor(
        QRegularExpression(QStringLiteral("^RECV register:")), from, StartTimeout);
}

QStringList EndToEndTest::receivedTexts(Child *simulator, int from) const
{
    QStringList texts;
    for (int i = from; i < simulator->lines.size(); ++i) {
        const QString &line = simulator->lines.at(i);
        if (line.startsWith(QLatin1String("RECV ")))
            texts.append(unescapeSimulatorText(line.mid(5)));
    }
    return texts;
}

void EndToEndTest::type(Child *simulator, const QString &commands)
{
    simulator->process.write(commands.toUtf8());
    // What follows may block in xdotool without an event loop to send it.
    simulator->process.waitForBytesWritten(AnswerTimeout);
}

QString EndToEndTest::registrationText(const QString &user) const
{
    return QStringLiteral("register:%1:%2").arg(user, QSysInfo::machineHostName());
}

QByteArray EndToEndTest::reports() const
{
    QByteArray all;
    for (const auto &child : m_children)
        all += child->report() + '\n';
    return all;
}

void EndToEndTest::firstStartAsksForTheAddressAndSavesIt()
{
    // Typing into the real dialog takes a display and a way to type.
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    QVERIFY(QFile::remove(appPath(QStringLiteral("printClient.tsp"))));

    Child *simulator = startSimulator();
    QVERIFY2(simulator, reports().constData());

    const QString displayName = startDisplay();
    QVERIFY2(!displayName.isEmpty(), reports().constData());

    Child *client = startClient({}, ::clientEnvironment(m_root->path(), DefaultUser, displayName));
    QVERIFY2(client, reports().constData());

    const auto runTool = [&](const QStringList &arguments, QString *output) {
        return runXdotool(displayName, arguments, output);
    };

    QString windows;
    QVERIFY2(runTool({QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                         QStringLiteral("^Locate Print Service$")},
                 &windows),
        reports().constData());
    const QString window = windows.split(QLatin1Char('\n')).constFirst();
    // Nothing is fetched or saved before the address is known.
    QCOMPARE(simulator->count(QRegularExpression(QStringLiteral("^HTTP "))), 0);
    QVERIFY(!QFile::exists(appPath(QStringLiteral("printClient.tsp"))));

    QVERIFY(runTool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, nullptr));
    QVERIFY(runTool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                        QStringLiteral("127.0.0.1")},
        nullptr));
    QVERIFY(runTool({QStringLiteral("key"), QStringLiteral("Return")}, nullptr));

    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());
    QCOMPARE(receivedTexts(simulator, registered).constFirst(), registrationText(DefaultUser));

    const ConfigFile config = readConfigFile(appPath(QStringLiteral("printClient.tsp")));
    QVERIFY(config.valid);
    QCOMPARE(config.type, QStringLiteral("Mac Printer Connector"));
    QCOMPARE(
        config.entries.value(QStringLiteral("Print Service Address")), QStringLiteral("127.0.0.1"));
}

void EndToEndTest::quitWhileAskingForTheAddress()
{
    QVERIFY(QFile::remove(appPath(QStringLiteral("printClient.tsp"))));
    Child *simulator = startSimulator();
    QVERIFY2(simulator, reports().constData());
    const QString tracePath = path(QStringLiteral("trace.txt"));
    Child *client = startClient({QStringLiteral("-trace=") + tracePath});
    QVERIFY2(client, reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(readLines(tracePath).indexOf(QRegularExpression(QStringLiteral(
                                  ".* Print Service address not configured, prompting user$")))
            >= 0,
        reports().constData(), StartTimeout);

    QVERIFY2(client->endsOn(SIGTERM), reports().constData());
    // Without an address nothing was fetched, installed or changed.
    QCOMPARE(simulator->count(QRegularExpression(QStringLiteral("^HTTP "))), 0);
    QVERIFY(!QFile::exists(path(QStringLiteral("remove.log"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("install.log"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("lpoptions.log"))));
}

void EndToEndTest::registersFirstOnEveryConnection_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<QString>("user");

    QTest::addRow("USER") << QStringList {QStringLiteral("USER=patron7")} << DefaultUser;
    QTest::addRow("LOGNAME when USER is unset")
        << QStringList {QStringLiteral("-USER"), QStringLiteral("LOGNAME=lab-guest")}
        << QStringLiteral("lab-guest");
    QTest::addRow("neither") << QStringList {QStringLiteral("-USER")} << QStringLiteral("unknown");
    // The separator and the escape character travel escaped.
    QTest::addRow("escaped")
        << QStringList {QStringLiteral("USER=ad:min\\x")} << QStringLiteral("ad\\:min\\\\x");
    // clang-format on
}

void EndToEndTest::registersFirstOnEveryConnection()
{
    QFETCH(QStringList, variables);
    QFETCH(QString, user);

    QProcessEnvironment environment = clientEnvironment();
    for (const QString &variable : std::as_const(variables)) {
        if (variable.startsWith(QLatin1Char('-')))
            environment.remove(variable.mid(1));
        else
            environment.insert(
                variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    }
    Child *simulator = startSimulator();
    QVERIFY2(simulator, reports().constData());
    Child *client = startClient({}, environment);
    QVERIFY2(client, reports().constData());

    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());
    // Nothing precedes the registration on the connection.
    const int connected = simulator->find(QRegularExpression(QStringLiteral("^CONNECTED ")));
    QVERIFY(connected >= 0);
    QCOMPARE(receivedTexts(simulator, connected).constFirst(), registrationText(user));
    // The printers were set up before the connection: removal first, then installation.
    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 1);
    QCOMPARE(readLines(path(QStringLiteral("install.log"))).size(), 1);
    QVERIFY(client->isRunning());
}

void EndToEndTest::answersEveryText_data()
{
    // clang-format off
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QStringList>("answers");

    QTest::addRow("unregistered id")
        << QStringLiteral("send 99|20261208120000|A1\n")
        << QStringList {QStringLiteral("Message Not Handled: 99|20261208120000|A1")};
    QTest::addRow("no id")
        << QStringLiteral("hello\n") << QStringList {QStringLiteral("Message Not Handled: hello")};
    QTest::addRow("No Response")
        << QStringLiteral("No Response\n") << QStringList {QStringLiteral("No Response")};
    QTest::addRow("No Response with a trailing blank")
        << QStringLiteral("send-raw No Response \\0\n")
        << QStringList {QStringLiteral("Message Not Handled: No Response ")};
    QTest::addRow("non-ASCII text")
        << QStringLiteral("send 99|Z\u00fcrich \u20ac\n")
        << QStringList {QStringLiteral("Message Not Handled: 99|Z\u00fcrich \u20ac")};
    QTest::addRow("two texts in one write")
        << QStringLiteral("send-raw 99|1|one\\0No Response\\0\n")
        << QStringList {
               QStringLiteral("Message Not Handled: 99|1|one"), QStringLiteral("No Response")};
    QTest::addRow("one text in two writes")
        << QStringLiteral("send-raw 99|2|tw\nsend-raw o\\0\n")
        << QStringList {QStringLiteral("Message Not Handled: 99|2|two")};
    QTest::addRow("three texts one after another")
        << QStringLiteral("send a\nsend b|\nsend c\n")
        << QStringList {QStringLiteral("Message Not Handled: a"),
               QStringLiteral("Message Not Handled: b|"), QStringLiteral("Message Not Handled: c")};
    // clang-format on
}

void EndToEndTest::answersEveryText()
{
    QFETCH(QString, commands);
    QFETCH(QStringList, answers);

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QVERIFY2(startClient(), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    type(simulator, commands);
    QTRY_VERIFY2_WITH_TIMEOUT(receivedTexts(simulator, registered + 1).size() >= answers.size(),
        reports().constData(), AnswerTimeout);
    QCOMPARE(receivedTexts(simulator, registered + 1), answers);
}

void EndToEndTest::reconnectsAndRegistersAgain_data()
{
    QTest::addColumn<bool>("restart");

    QTest::addRow("the Print Service closes the connection") << false;
    QTest::addRow("the Print Service stops and starts again") << true;
}

void EndToEndTest::reconnectsAndRegistersAgain()
{
    QFETCH(bool, restart);

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    Child *client = startClient();
    QVERIFY2(client, reports().constData());
    QVERIFY2(waitForRegistration(simulator) >= 0, reports().constData());

    int from = 0;
    if (restart) {
        simulator->process.terminate();
        QVERIFY(simulator->process.waitForFinished(AnswerTimeout));
        // The client keeps trying while nobody listens.
        simulator = startSimulator({}, true);
        QVERIFY2(simulator, reports().constData());
    } else {
        from = simulator->lines.size();
        type(simulator, QStringLiteral("close\n"));
        QVERIFY2(
            simulator->waitFor(QRegularExpression(QStringLiteral("^DISCONNECTED ")), from) >= 0,
            reports().constData());
    }
    const int connected
        = simulator->waitFor(QRegularExpression(QStringLiteral("^CONNECTED ")), from, StartTimeout);
    QVERIFY2(connected >= 0, reports().constData());
    const int registered = waitForRegistration(simulator, connected);
    QVERIFY2(registered >= 0, reports().constData());
    QCOMPARE(receivedTexts(simulator, connected).constFirst(), registrationText(DefaultUser));

    // The new connection carries answers as the first did.
    type(simulator, QStringLiteral("send 99|3|again\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    QCOMPARE(receivedTexts(simulator, registered + 1).constFirst(),
        QStringLiteral("Message Not Handled: 99|3|again"));
    // The printers were set up once, at start.
    QCOMPARE(readLines(path(QStringLiteral("install.log"))).size(), 1);
    QVERIFY(client->isRunning());
}

void EndToEndTest::quitRequestRemovesPrintersAndRestoresDefault_data()
{
    QTest::addColumn<int>("signalNumber");

    QTest::addRow("SIGTERM") << int(SIGTERM);
    QTest::addRow("SIGINT") << int(SIGINT);
    QTest::addRow("SIGHUP") << int(SIGHUP);
}

void EndToEndTest::quitRequestRemovesPrintersAndRestoresDefault()
{
    QFETCH(int, signalNumber);

    Child *simulator = startSimulator();
    QVERIFY2(simulator, reports().constData());
    Child *client = startClient();
    QVERIFY2(client, reports().constData());
    QVERIFY2(waitForRegistration(simulator) >= 0, reports().constData());
    // At start: the leftovers removed once, the printers installed, the default recorded.
    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 1);
    QCOMPARE(readLines(path(QStringLiteral("install.log"))).size(), 1);
    QVERIFY(!QFile::exists(path(QStringLiteral("lpoptions.log"))));
    QCOMPARE(readLines(appPath(QStringLiteral("defaultPrinter.txt"))),
        QStringList {QStringLiteral("system default destination: Lab_Laser")});

    QVERIFY2(client->endsOn(signalNumber), reports().constData());

    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 2);
    QCOMPARE(readLines(path(QStringLiteral("lpoptions.log"))),
        QStringList {QStringLiteral("-d Lab_Laser")});
    QVERIFY(client->find(exactly(QStringLiteral("setting default printer to Lab_Laser"))) >= 0);
    QCOMPARE(readLines(path(QStringLiteral("install.log"))).size(), 1);
    // The connection closes with the client, and nothing is sent on the way out.
    QTRY_VERIFY2_WITH_TIMEOUT(
        simulator->find(QRegularExpression(QStringLiteral("^DISCONNECTED "))) >= 0,
        reports().constData(), AnswerTimeout);
    QCOMPARE(receivedTexts(simulator).size(), 1);
    QVERIFY(simulator->find(QRegularExpression(QStringLiteral("^RECV-UNTERMINATED"))) < 0);
}

void EndToEndTest::secondInstanceEndsAtOnce()
{
    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    Child *first = startClient();
    QVERIFY2(first, reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    Child *second = startClient();
    QVERIFY2(second, reports().constData());
    QVERIFY2(second->process.waitForFinished(StartTimeout), reports().constData());
    QCOMPARE(second->process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->process.exitCode(), 0);
    // It ended before touching the printers.
    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 1);
    QCOMPARE(readLines(path(QStringLiteral("install.log"))).size(), 1);

    QVERIFY(first->isRunning());
    type(simulator, QStringLiteral("send 99|4|still there\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    QCOMPARE(receivedTexts(simulator, registered + 1).constFirst(),
        QStringLiteral("Message Not Handled: 99|4|still there"));
    QCOMPARE(simulator->count(QRegularExpression(QStringLiteral("^CONNECTED "))), 1);
}

void EndToEndTest::launcherRestartsTheClientAfterACrash_data()
{
    // clang-format off
    // With no stand-in the built client runs under the launcher and `end`
    // ends its first run: a signal to the client or to the launcher, or the
    // staff's stop button. A stand-in (a shell body) dies at every start.
    QTest::addColumn<QString>("standIn");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("starts");
    QTest::addColumn<int>("launcherStatus");
    // The launcher's restart settings, NAME=value separated by blanks.
    QTest::addColumn<QString>("settings");

    QTest::addRow("client killed by SIGKILL") << QString() << QStringLiteral("client:9") << 2 << 0 << QString();
    QTest::addRow("client crashed with SIGSEGV") << QString() << QStringLiteral("client:11") << 2 << 0 << QString();
    QTest::addRow("SIGTERM to the client") << QString() << QStringLiteral("client:15") << 1 << 0 << QString();
    QTest::addRow("logout: SIGTERM to the launcher") << QString() << QStringLiteral("launcher:15") << 1 << 0 << QString();
    QTest::addRow("staff stop button") << QString() << QStringLiteral("stop") << 1 << 0 << QString();
    // A logout that sent no signal: the client loses its display. -1: not 0.
    QTest::addRow("the desktop goes away") << QString() << QStringLiteral("display") << 1 << -1 << QString();
    // Five starts in a minute, then the launcher gives up with the last status.
    QTest::addRow("status 1 at every start") << QStringLiteral("exit 1") << QString() << 5 << 1 << QString();
    QTest::addRow("SIGSEGV at every start") << QStringLiteral("kill -SEGV $$") << QString() << 5 << 128 + SIGSEGV << QString();
    // Settings that would make it a tight loop are raised to a delay of 1 s
    // and an interval of 10 s: still five starts, then it gives up.
    QTest::addRow("no delay, no interval") << QStringLiteral("exit 1") << QString() << 5 << 1
        << QStringLiteral("PELLORA_RESTART_DELAY=0 PELLORA_RESTART_INTERVAL=0");
    // clang-format on
}

// The launcher that the desktops without a systemd session start: a crash
// brings the client back, a clean end or a quit request does not.
void EndToEndTest::launcherRestartsTheClientAfterACrash()
{
    QFETCH(QString, standIn);
    QFETCH(QString, end);
    QFETCH(int, starts);
    QFETCH(int, launcherStatus);
    QFETCH(QString, settings);

    QString display;
    if (end == QLatin1String("stop") || end == QLatin1String("display")) {
        if (!haveDisplayTools() || (display = startDisplay()).isEmpty())
            QSKIP(NoDisplayTools);
        writeDedicatedConfig(false);
    }
    QProcessEnvironment environment = ::clientEnvironment(m_root->path(), DefaultUser, display);
    for (const QString &setting : settings.split(QLatin1Char(' '), ::Qt::SkipEmptyParts))
        environment.insert(
            setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    QString client = appPath(ClientName);
    if (!standIn.isEmpty()) {
        client = path(QStringLiteral("bin/stand-in"));
        QVERIFY(writeFile(client,
            "#!/bin/sh\necho started >> " + shellQuoted(path(QStringLiteral("starts.log"))) + '\n'
                + standIn.toUtf8() + '\n',
            true));
    }
    environment.insert(QStringLiteral("PELLORA_CLIENT"), client);
    Child *simulator = standIn.isEmpty() ? startSimulator() : nullptr;
    QVERIFY2(standIn.isEmpty() == (simulator != nullptr), reports().constData());

    auto child = std::make_unique<Child>(QStringLiteral("launcher"));
    Child *launcher = child.get();
    m_children.push_back(std::move(child));
    launcher->process.setProcessEnvironment(environment);
    launcher->process.setWorkingDirectory(path(QStringLiteral("home")));
    QElapsedTimer sinceStart;
    sinceStart.start();
    launcher->process.start(QStringLiteral("/bin/sh"),
        {QStringLiteral(PELLORA_SOURCE_DIR) + QStringLiteral("/debian/bin/pelloraVav")});
    QVERIFY2(launcher->process.waitForStarted(StartTimeout), reports().constData());
    const qint64 launcherPid = launcher->process.processId();

    if (!standIn.isEmpty()) {
        QVERIFY2(launcher->process.waitForFinished(StartTimeout), reports().constData());
        QCOMPARE(readLines(path(QStringLiteral("starts.log"))).size(), starts);
        // All of them within the minute: the limit stopped them, not the window.
        QVERIFY2(sinceStart.elapsed() < 60000, reports().constData());
        QCOMPARE(launcher->process.exitCode(), launcherStatus);
        QCOMPARE(int(launcher->errors.count("starting it again after")), starts - 1);
        return;
    }

    QVERIFY2(waitForRegistration(simulator) >= 0, reports().constData());
    QList<qint64> clients = childProcesses(launcherPid, client);
    QCOMPARE(clients.size(), 1);
    const qint64 first = clients.constFirst();
    const int from = simulator->lines.size();
    if (end.startsWith(QLatin1String("client:"))) {
        QCOMPARE(::kill(pid_t(first), end.section(QLatin1Char(':'), 1).toInt()), 0);
    } else if (end.startsWith(QLatin1String("launcher:"))) {
        QCOMPARE(::kill(pid_t(launcherPid), end.section(QLatin1Char(':'), 1).toInt()), 0);
    } else if (end == QLatin1String("display")) {
        // The display server, started first, ends as at a logout.
        QProcess &server = m_children.front()->process;
        QCOMPARE(::kill(pid_t(server.processId()), SIGTERM), 0);
        QVERIFY(server.waitForFinished(StartTimeout));
    } else {
        const QString window = findMainWindow(display);
        QVERIFY2(!window.isEmpty(), reports().constData());
        xdotool(display,
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window, QStringLiteral("key"),
                QStringLiteral("space")});
    }

    if (starts == 2) {
        // A new client within 5 s, which registers again like a fresh start.
        // One look at the children per try: a client may come and go between two.
        const auto restarted = [&] {
            const QList<qint64> now = childProcesses(launcherPid, client);
            return !now.isEmpty() && now.constFirst() != first;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(restarted(), reports().constData(), 5000);
        QVERIFY2(waitForRegistration(simulator, from) >= 0, reports().constData());
        QVERIFY(::kill(pid_t(launcherPid), SIGTERM) == 0);
    }
    QVERIFY2(launcher->process.waitForFinished(StartTimeout), reports().constData());
    QCOMPARE(launcher->process.exitStatus(), QProcess::NormalExit);
    if (launcherStatus < 0)
        QVERIFY(launcher->process.exitCode() != 0);
    else
        QCOMPARE(launcher->process.exitCode(), launcherStatus);
    QCOMPARE(simulator->count(QRegularExpression(QStringLiteral("^RECV register:"))), starts);
    QCOMPARE(int(launcher->errors.count("starting it again after")), starts - 1);
    // Each run removed what the one before left, then installed; the last
    // clean end removed them.
    QCOMPARE(readLines(path(QStringLiteral("install.log"))).size(), starts);
    if (launcherStatus >= 0)
        QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), starts + 1);
}

// What an administrator finds in the system log after a session: the start,
// the Print Service lost and regained, the warnings, the quit and the stop;
// nothing of the patron's identity or the staff password, which the full
// trace of the same run does hold.
void EndToEndTest::systemLogTellsWhatHappenedWithoutSecrets()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    LogSocket log(path(QStringLiteral("log.sock")));
    QVERIFY(log.isBound());
    // Read as they come, as a log daemon does: a socket's queue is short.
    QList<QByteArray> datagrams;
    QTimer reader;
    connect(&reader, &QTimer::timeout, this, [&] { datagrams += log.take(); });
    reader.start(10);
    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QString display;
    const QString tracePath = path(QStringLiteral("trace.txt"));
    Child *client = startClientOnDisplay(&display, {QStringLiteral("-trace=") + tracePath});
    QVERIFY2(client, reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    const QString patron = QStringLiteral("qxpatron");
    const QString pin = QStringLiteral("8642");
    const QString staffPassword = QStringLiteral("Vq7staffpw");
    type(simulator,
        QStringLiteral("send 58|{ts}|A%1\n").arg(UtilsLib::HexEncrypt::encryptData(staffPassword)));
    type(simulator, QStringLiteral("send 54|{ts}|0\n"));
    QVERIFY2(pressIn(display, QStringLiteral("^User Identification$"),
                 QStringLiteral("q x p a t r o n Tab 8 6 4 2 Return")),
        reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 2, reports().constData(), AnswerTimeout);
    const QStringList answer
        = receivedTexts(simulator, registered + 1).at(1).split(QLatin1Char('|'));
    QCOMPARE(answer.size(), 6);
    QCOMPARE(answer.at(3), patron.toUpper());
    const QString encodedPin = answer.at(5);
    // A text the dispatcher warns about, with the secrets in it.
    type(simulator, QStringLiteral("send %1 %2 %3\n").arg(patron, pin, staffPassword));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 3, reports().constData(), AnswerTimeout);
    const int from = simulator->lines.size();
    type(simulator, QStringLiteral("close\n"));
    QVERIFY2(waitForRegistration(simulator, from) >= 0, reports().constData());
    const qint64 pid = client->process.processId();
    QVERIFY2(client->endsOn(SIGTERM), reports().constData());

    QStringList lines;
    const QRegularExpression header(
        QStringLiteral("^<\\d+>[A-Z][a-z]{2} [ 1-3]\\d \\d\\d:\\d\\d:\\d\\d pelloraVav\\[%1\\]: ")
            .arg(pid));
    datagrams += log.take();
    for (const QByteArray &datagram : std::as_const(datagrams)) {
        const QString line = QString::fromUtf8(datagram);
        const QRegularExpressionMatch match = header.match(line);
        QVERIFY2(match.hasMatch(), datagram.constData());
        lines.append(line.mid(match.capturedLength()));
    }
    const QString all = lines.join(QLatin1Char('\n'));
    for (const char *expected :
        {"^Started, version \\S+$", "^Connected to the Print Service at 127\\.0\\.0\\.1$",
            "^Warning KoaMessageDispatcher dispatch: Message is malformed$",
            "^Connection to the Print Service at 127\\.0\\.0\\.1 lost$",
            "^Connection to the Print Service at 127\\.0\\.0\\.1 regained after \\d+ s$",
            "^Quit requested by signal 15$", "^Stopped with status 0$"}) {
        QVERIFY2(lines.indexOf(QRegularExpression(QLatin1String(expected))) >= 0,
            qPrintable(QStringLiteral("%1 not in:\n%2").arg(QLatin1String(expected), all)));
    }
    const QString trace = readLines(tracePath).join(QLatin1Char('\n'));
    QVERIFY(trace.contains(patron, ::Qt::CaseInsensitive));
    for (const QString &secret :
        {patron, pin, encodedPin, staffPassword, UtilsLib::HexEncrypt::encryptData(staffPassword)})
        QVERIFY2(!all.contains(secret, ::Qt::CaseInsensitive), qPrintable(secret + u'\n' + all));
}

void EndToEndTest::traceFile_data()
{
    // clang-format off
    QTest::addColumn<QString>("traceFile");
    QTest::addColumn<bool>("written");

    QTest::addRow("-trace=FILE") << QStringLiteral("client-trace.txt") << true;
    QTest::addRow("no -trace") << QString() << false;
    QTest::addRow("unwritable trace file")
        << QStringLiteral("no-such-folder/client-trace.txt") << false;
    // clang-format on
}

void EndToEndTest::traceFile()
{
    QFETCH(QString, traceFile);
    QFETCH(bool, written);

    const QString tracePath = traceFile.isEmpty() ? QString() : path(traceFile);
    QStringList arguments;
    if (!tracePath.isEmpty())
        arguments << QStringLiteral("-trace=") + tracePath;

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    Child *client = startClient(arguments);
    QVERIFY2(client, reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());
    type(simulator, QStringLiteral("send 99|5|traced\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);

    if (written) {
        const QRegularExpression dispatched(QStringLiteral(
            "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} Info KoaMessageDispatcher "
            "dispatch: Message to dispatch=99\\|5\\|traced$"));
        // Each line is flushed as it is written.
        QTRY_VERIFY_WITH_TIMEOUT(readLines(tracePath).indexOf(dispatched) >= 0, AnswerTimeout);
        const QStringList lines = readLines(tracePath);
        QVERIFY(lines.indexOf(QRegularExpression(QStringLiteral(
                    ".* Info KoaConnection messageReceived: Recevied: 99\\|5\\|traced$")))
            >= 0);
        QVERIFY(lines.indexOf(QRegularExpression(QStringLiteral(
                    ".* Info PrintClientMessager reconnect: Attempting to reconnect to print "
                    "service at 127\\.0\\.0\\.1 on port 21326$")))
            >= 0);
    } else {
        // No trace anywhere: no new file beside the program, in its folder or
        // the working folder, and no trace lines on its output.
        if (!tracePath.isEmpty()) {
            QVERIFY(!QFile::exists(tracePath));
            QTRY_VERIFY_WITH_TIMEOUT(
                client->errors.contains("Cannot write the trace to"), AnswerTimeout);
        }
        QStringList files = QDir(m_root->path()).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, QStringList({QStringLiteral("install.log"), QStringLiteral("remove.log")}));
        QStringList appFiles = QDir(path(QStringLiteral("app"))).entryList(QDir::Files);
        appFiles.sort();
        QCOMPARE(appFiles,
            QStringList({QStringLiteral("defaultPrinter.txt"), ClientName,
                QStringLiteral("printClient.tsp")}));
        QCOMPARE(QDir(path(QStringLiteral("home"))).entryList(QDir::Files | QDir::Hidden),
            QStringList());
        QVERIFY(client->find(QRegularExpression(QStringLiteral("Message to dispatch"))) < 0);
        QVERIFY(!client->errors.contains("Message to dispatch"));
    }
    QVERIFY(client->isRunning());
}

void EndToEndTest::keepsAskingForPrintersUntilToldToQuit_data()
{
    QTest::addColumn<bool>("serviceRuns");

    QTest::addRow("the Print Service refuses /printers/") << true;
    QTest::addRow("nothing answers HTTP") << false;
}

void EndToEndTest::keepsAskingForPrintersUntilToldToQuit()
{
    QFETCH(bool, serviceRuns);

    Child *simulator = nullptr;
    if (serviceRuns) {
        simulator = startSimulator({QStringLiteral("--fail-printers"), QStringLiteral("100000")});
        QVERIFY2(simulator, reports().constData());
    }
    Child *client = startClient();
    QVERIFY2(client, reports().constData());

    const QRegularExpression attemptFailed = exactly(AttemptFailedLine);
    QTRY_VERIFY2_WITH_TIMEOUT(client->count(attemptFailed) >= 2 || !client->isRunning(),
        reports().constData(), StartTimeout);
    QVERIFY2(client->isRunning(), reports().constData());
    if (simulator) {
        QTRY_VERIFY_WITH_TIMEOUT(
            simulator->count(QRegularExpression(QStringLiteral("^HTTP GET /printers/ 503$"))) >= 2,
            AnswerTimeout);
        QCOMPARE(simulator->count(QRegularExpression(QStringLiteral("^CONNECTED "))), 0);
    }

    // Ending with 0 rules out the printers error, which ends with 1 once dismissed.
    QVERIFY2(client->endsOn(SIGTERM), reports().constData());
    QVERIFY(client->find(QRegularExpression(QStringLiteral("^Timeout occurred"))) < 0);
    // Nothing was installed, so nothing is removed or restored.
    QVERIFY(!QFile::exists(path(QStringLiteral("remove.log"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("install.log"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("lpoptions.log"))));
}

void EndToEndTest::patronIdentifiesAndFailedVerdictAsksAgain()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());

    QString displayName;
    QVERIFY2(startClientOnDisplay(&displayName), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    const auto tool = [&](const QStringList &arguments) {
        return xdotool(displayName, arguments);
    };
    // Focus the first visible window of that title and type into it.
    const auto typeInto = [&](const QString &title, const QStringList &keys) {
        const QString windows = tool({QStringLiteral("search"), QStringLiteral("--sync"),
            QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title});
        if (windows.isEmpty())
            return false;
        tool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
            windows.split(QLatin1Char('\n')).constFirst()});
        for (const QString &key : keys) {
            if (key.startsWith(QLatin1Char('=')))
                tool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
                    key.mid(1)});
            else
                tool({QStringLiteral("key"), key});
        }
        return true;
    };
    const QString identification = QStringLiteral("^User Identification$");
    const QRegularExpression stamp(QStringLiteral("^\\d{14}$"));

    type(simulator, QStringLiteral("send 54|{ts}|0\n"));
    QVERIFY2(typeInto(identification,
                 {QStringLiteral("=jo"), QStringLiteral("Tab"), QStringLiteral("=1234"),
                     QStringLiteral("Return")}),
        reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    QStringList fields
        = receivedTexts(simulator, registered + 1).constFirst().split(QLatin1Char('|'));
    QCOMPARE(fields.size(), 6);
    QCOMPARE(fields.at(0), QStringLiteral("55"));
    QVERIFY(stamp.match(fields.at(1)).hasMatch());
    // The PIN travels encoded: 1234 under the shared scrambling key.
    QCOMPARE(fields.mid(2),
        QStringList({QStringLiteral("0"), QStringLiteral("JO"), QStringLiteral("JO"),
            QStringLiteral("10121416")}));

    type(simulator, QStringLiteral("send 56|{ts}|1|xBad login|#Unknown user|A0\n"));
    QVERIFY2(
        typeInto(QStringLiteral("^Bad login$"), {QStringLiteral("Escape")}), reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 2, reports().constData(), AnswerTimeout);
    fields = receivedTexts(simulator, registered + 1).at(1).split(QLatin1Char('|'));
    QCOMPARE(fields.constFirst(), QStringLiteral("86"));

    // The identity is forgotten: the next request asks again.
    type(simulator, QStringLiteral("send 54|{ts}|1\n"));
    QVERIFY2(typeInto(identification, {QStringLiteral("Escape")}), reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 3, reports().constData(), AnswerTimeout);
    QCOMPARE(receivedTexts(simulator, registered + 1).at(2).section(QLatin1Char('|'), 0, 0),
        QStringLiteral("7"));
}

void EndToEndTest::jobStatusReachesThePatron()
{
    // Seeing and closing the windows takes a display and a way to type.
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QString displayName;
    QVERIFY2(startClientOnDisplay(&displayName), reports().constData());
    int from = waitForRegistration(simulator);
    QVERIFY2(from >= 0, reports().constData());
    from += 1;

    const auto search = [&](const QString &title) {
        return xdotool(displayName,
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                title})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    // The visible windows whose title matches, the main window aside; the
    // display is the client's alone.
    const auto visibleWindows = [&](const QString &title) {
        QStringList windows = search(title);
        for (const QString &main : search(MainWindowTitlePattern))
            windows.removeAll(main);
        return windows;
    };
    const auto pressReturnIn = [&](const QString &title) {
        QStringList windows;
        if (!QTest::qWaitFor(
                [&] { return !(windows = visibleWindows(title)).isEmpty(); }, StartTimeout))
            return false;
        return runXdotool(displayName,
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), windows.constFirst(),
                QStringLiteral("key"), QStringLiteral("Return")});
    };
    // The answers received after `from`, once there are `count` of them.
    const auto answers = [&](int count) {
        (void)QTest::qWaitFor(
            [&] { return receivedTexts(simulator, from).size() >= count; }, AnswerTimeout);
        return receivedTexts(simulator, from);
    };
    const QRegularExpression ack(QStringLiteral("^80\\|\\d{14}$"));
    const QRegularExpression endOfSession(QStringLiteral("^86\\|\\d{14}$"));
    const QString anyWindow = QStringLiteral(".");

    // Spooling: answered at once, the processing window stays up.
    type(simulator, QStringLiteral("send 60|20261209101500\n"));
    QStringList got = answers(1);
    QCOMPARE(got.size(), 1);
    QVERIFY2(ack.match(got.at(0)).hasMatch(), qPrintable(got.at(0)));
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(anyWindow).size() == 1, AnswerTimeout);

    // The confirmation takes the processing window down and is answered
    // only when the patron closes it.
    type(simulator,
        QStringLiteral(
            "send 6|20261209101501|1|J1234|T2026-12-09T17:30:00|LDesk 1#^#Main floor\n"));
    QTRY_VERIFY_WITH_TIMEOUT(
        visibleWindows(QStringLiteral("^Print Complete$")).size() == 1, AnswerTimeout);
    QCOMPARE(visibleWindows(anyWindow).size(), 1);
    QCOMPARE(receivedTexts(simulator, from).size(), 1);
    QVERIFY2(pressReturnIn(QStringLiteral("^Print Complete$")), reports().constData());
    got = answers(2);
    QCOMPARE(got.size(), 2);
    QVERIFY2(endOfSession.match(got.at(1)).hasMatch(), qPrintable(got.at(1)));
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(anyWindow).isEmpty(), AnswerTimeout);

    // Without the dialog the answer comes at once.
    type(simulator, QStringLiteral("send 6|20261209101502|0|J1235|T|L\n"));
    got = answers(3);
    QCOMPARE(got.size(), 3);
    QVERIFY2(endOfSession.match(got.at(2)).hasMatch(), qPrintable(got.at(2)));
    QVERIFY(visibleWindows(anyWindow).isEmpty());

    // Deletion and release: each box shown, answered when it is closed.
    type(simulator, QStringLiteral("send 51|20261209101503\n"));
    QVERIFY2(pressReturnIn(QStringLiteral("^Job Canceled$")), reports().constData());
    got = answers(4);
    QCOMPARE(got.size(), 4);
    QVERIFY2(endOfSession.match(got.at(3)).hasMatch(), qPrintable(got.at(3)));
    type(simulator,
        QStringLiteral("send 62|20261209101504|A1|B7|CLab Laser|DMain floor|E|FDA|G|H$0.30|I\n"));
    QVERIFY2(pressReturnIn(QStringLiteral("^Job Released$")), reports().constData());
    got = answers(5);
    QCOMPARE(got.size(), 5);
    QVERIFY2(endOfSession.match(got.at(4)).hasMatch(), qPrintable(got.at(4)));
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(anyWindow).isEmpty(), AnswerTimeout);

    // The processing window goes with the connection, and the client comes back.
    type(simulator, QStringLiteral("send 60|20261209101505\n"));
    got = answers(6);
    QCOMPARE(got.size(), 6);
    QVERIFY2(ack.match(got.at(5)).hasMatch(), qPrintable(got.at(5)));
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(anyWindow).size() == 1, AnswerTimeout);
    const int beforeClose = simulator->lines.size();
    type(simulator, QStringLiteral("close\n"));
    QVERIFY2(
        simulator->waitFor(QRegularExpression(QStringLiteral("^DISCONNECTED ")), beforeClose) >= 0,
        reports().constData());
    QTRY_VERIFY_WITH_TIMEOUT(visibleWindows(anyWindow).isEmpty(), AnswerTimeout);
    QVERIFY2(waitForRegistration(simulator, beforeClose) >= 0, reports().constData());
}

Child *EndToEndTest::startClientOnDisplay(QString *displayName, const QStringList &arguments)
{
    *displayName = startDisplay();
    if (displayName->isEmpty())
        return nullptr;

    return startClient(arguments, ::clientEnvironment(m_root->path(), DefaultUser, *displayName));
}

void EndToEndTest::installShippedLanguages()
{
    QVERIFY(copyShippedLanguages(AppDir, path(QStringLiteral("app"))));
}

bool EndToEndTest::pressIn(const QString &displayName, const QString &title, const QString &keys)
{
    const QString window = xdotool(displayName,
        {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
            QStringLiteral("--name"), title})
                               .section(QLatin1Char('\n'), 0, 0);
    if (window.isEmpty())
        return false;
    xdotool(displayName,
        QStringList {
            QStringLiteral("windowfocus"), QStringLiteral("--sync"), window, QStringLiteral("key")}
            + keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return true;
}

void EndToEndTest::patronAnswersTheJobCost_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("answer"); // after the id and the time stamp

    // The start-up language change records the default language as the locale.
    // clang-format off
    QTest::addRow("Return prints") << QStringLiteral("Return")
        << QStringList {QStringLiteral("5"), QLatin1Char('A') + QSysInfo::machineHostName(), QStringLiteral("BEN_US")};
    QTest::addRow("Escape cancels") << QStringLiteral("Escape") << QStringList {QStringLiteral("7")};
    // clang-format on
}

void EndToEndTest::patronAnswersTheJobCost()
{
    QFETCH(QString, key);
    QFETCH(QStringList, answer);
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QString display;
    QVERIFY2(startClientOnDisplay(&display), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    type(simulator, QStringLiteral("send 4|{ts}|A3|B$0.10|C0|E$0.30|H0|I1\n"));
    QVERIFY2(pressIn(display, QStringLiteral("^Print this job\\?$"), key), reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    QStringList fields
        = receivedTexts(simulator, registered + 1).constFirst().split(QLatin1Char('|'));
    QVERIFY2(fields.size() >= 2
            && QRegularExpression(QStringLiteral("^\\d{14}$")).match(fields.at(1)).hasMatch(),
        qPrintable(fields.join(QLatin1Char('|'))));
    fields.removeAt(1);
    QCOMPARE(fields, answer);
}

void EndToEndTest::pageLimitNeverRefusesAJobOnThisPlatform()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    // The reservation service of this machine: a patron's session is on, and
    // it has a description of the computer for the Print Service.
    TestHttpResponder reservation;
    reservation.setResponse("/patron_id", TestHttpResponder::reply(200, "10121416"));
    reservation.setResponse(
        "/computer_description", TestHttpResponder::reply(200, "Reference Desk PC 4"));
    QVERIFY2(reservation.startListening(4567), "port 4567 is taken");

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QString display;
    QVERIFY2(startClientOnDisplay(&display), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    // The site: reservation integration on, 5 pages a session, staff override,
    // the reservation service's description of the computer.
    type(simulator, QStringLiteral("send 58|{ts}|B1|C5|D1|H1|JDemo Library\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    const bool settingsApplied
        = receivedTexts(simulator, registered + 1).constFirst().startsWith(QLatin1String("59|"));

    // 12 pages: over the site's limit, but the platform fixes the limit at 0,
    // the override and the description off; so no warning, no staff password.
    type(simulator, QStringLiteral("send 4|{ts}|A12|B$0.10|E$1.20\n"));
    QVERIFY2(pressIn(display, QStringLiteral("^Print this job\\?$"), QStringLiteral("Return")),
        reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 2, reports().constData(), AnswerTimeout);
    const QStringList fields
        = receivedTexts(simulator, registered + 1).at(1).split(QLatin1Char('|'));
    QCOMPARE(fields.size(), 4);
    QCOMPARE(fields.at(0), QStringLiteral("5"));
    QCOMPARE(fields.at(2), QLatin1Char('A') + QSysInfo::machineHostName());
    // The site's default dialect (en_us) is in force once the settings are applied.
    QCOMPARE(fields.at(3).toUpper(), QStringLiteral("BEN_US"));
    // Once the settings reach the client, the job is checked against the session.
    if (settingsApplied) {
        const QList<QByteArray> requests = reservation.requests();
        QVERIFY(std::any_of(requests.cbegin(), requests.cend(),
            [](const QByteArray &request) { return request.startsWith("GET /patron_id "); }));
    }
}

QString EndToEndTest::startDisplay()
{
    QString name;
    // Stopped last: the client must not lose its display before it ends.
    m_children.insert(m_children.begin(), startXvfb(&name));
    return name;
}

QString EndToEndTest::findMainWindow(const QString &display) const
{
    return xdotool(display,
        {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
            QStringLiteral("--name"), MainWindowTitlePattern})
        .section(QLatin1Char('\n'), 0, 0);
}

void EndToEndTest::writeDedicatedConfig(bool dedicated)
{
    const QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n"
                            "<version>1.1</version>\n<type>Mac Printer Connector</type>\n"
                            "<entry name='Print Service Address'>127.0.0.1</entry>\n"
                            "<entry name='Dedicated Mode'>"
        + QByteArray(dedicated ? "1" : "0") + "</entry>\n</Settings>\n";
    QVERIFY(writeFile(appPath(QStringLiteral("printClient.tsp")), text));
}

void EndToEndTest::mainWindowStopsTheClient_data()
{
    // clang-format off
    // Each step: "key:..." keys for the main window, "click:x,y" a click in it.
    QTest::addColumn<QStringList>("steps");

    QTest::addRow("stop button") << QStringList {QStringLiteral("key:space")};
    QTest::addRow("File > Quit") << QStringList {QStringLiteral("click:12,8"),
        QStringLiteral("key:Down"), QStringLiteral("key:Down"), QStringLiteral("key:Return")};
    // clang-format on
}

// On a computer that is not dedicated the user's own quit ends the client at
// once, through the same ordered shutdown as the system's quit request.
void EndToEndTest::mainWindowStopsTheClient()
{
    QFETCH(QStringList, steps);
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    const QString display = startDisplay();
    if (display.isEmpty())
        QSKIP(NoDisplayTools);
    writeDedicatedConfig(false);
    Child *simulator = startSimulator();
    QVERIFY2(simulator, reports().constData());
    Child *client = startClient({}, ::clientEnvironment(m_root->path(), DefaultUser, display));
    QVERIFY2(client, reports().constData());
    QVERIFY2(waitForRegistration(simulator) >= 0, reports().constData());

    const QString window = findMainWindow(display);
    QVERIFY2(!window.isEmpty(), reports().constData());
    QCOMPARE(xdotool(display, {QStringLiteral("getwindowname"), window}), MainWindowCaption);
    QSignalSpy finished(&client->process, &QProcess::finished);
    xdotool(display, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    for (const QString &step : steps) {
        const QString what = step.section(QLatin1Char(':'), 1);
        if (step.startsWith(QLatin1String("key:"))) {
            xdotool(display, {QStringLiteral("key"), what});
        } else {
            xdotool(display,
                {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                    what.section(QLatin1Char(','), 0, 0), what.section(QLatin1Char(','), 1),
                    QStringLiteral("click"), QStringLiteral("1")});
        }
        QTest::qWait(200);
    }
    QTRY_VERIFY2_WITH_TIMEOUT(!finished.isEmpty(), reports().constData(), StartTimeout);
    QCOMPARE(client->process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(client->process.exitCode(), 0);
    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 2);
    QCOMPARE(readLines(path(QStringLiteral("lpoptions.log"))),
        QStringList {QStringLiteral("-d Lab_Laser")});
}

// On a dedicated computer the stop button asks for the staff password the
// site's settings gave: a wrong one keeps the client running and printing.
void EndToEndTest::staffPasswordGuardsTheStop()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    const QString display = startDisplay();
    if (display.isEmpty())
        QSKIP(NoDisplayTools);
    writeDedicatedConfig(true);

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    Child *client = startClient({}, ::clientEnvironment(m_root->path(), DefaultUser, display));
    QVERIFY2(client, reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());
    const QString window = findMainWindow(display);
    QVERIFY2(!window.isEmpty(), reports().constData());
    // The site's settings bring the password; a dedicated machine keeps it.
    type(simulator,
        QStringLiteral("send 58|{ts}|A%1\n")
            .arg(UtilsLib::HexEncrypt::encryptData(QStringLiteral("s3cret"))));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    QTRY_VERIFY(QFile::exists(path(QStringLiteral("home/.pelloraVav/session.dat"))));

    const auto stopWith = [&](const QString &password) {
        xdotool(display,
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window, QStringLiteral("key"),
                QStringLiteral("space")});
        const QString dialog = xdotool(display,
            {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                QStringLiteral("--name"), QStringLiteral("^Password Required$")});
        if (dialog.isEmpty())
            return false;
        xdotool(display,
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                dialog.section(QLatin1Char('\n'), 0, 0)});
        xdotool(display,
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), password});
        xdotool(display, {QStringLiteral("key"), QStringLiteral("Return")});
        return true;
    };

    QVERIFY2(stopWith(QStringLiteral("wrong")), reports().constData());
    // Still running, still answering, the window still there.
    type(simulator, QStringLiteral("send 99|4|still there\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 2, reports().constData(), AnswerTimeout);
    QCOMPARE(receivedTexts(simulator, registered + 1).at(1),
        QStringLiteral("Message Not Handled: 99|4|still there"));
    QVERIFY(client->isRunning());
    QCOMPARE(findMainWindow(display), window);
    QVERIFY(!QFile::exists(path(QStringLiteral("lpoptions.log"))));

    QSignalSpy finished(&client->process, &QProcess::finished);
    QVERIFY2(stopWith(QStringLiteral("s3cret")), reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(!finished.isEmpty(), reports().constData(), StartTimeout);
    QCOMPARE(client->process.exitCode(), 0);
    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 2);
    QCOMPARE(readLines(path(QStringLiteral("lpoptions.log"))),
        QStringList {QStringLiteral("-d Lab_Laser")});
}

void EndToEndTest::dialogsSpeakTheChosenLanguage_data()
{
    // clang-format off
    QTest::addColumn<QStringList>("clientArguments");
    QTest::addColumn<bool>("overrides");
    QTest::addColumn<QString>("title");

    QTest::newRow("locale es_us")
        << QStringList {QStringLiteral("-locale=es_us")} << false
        << QStringLiteral("Identificación del usuario");
    QTest::newRow("dialect de_de")
        << QStringList {QStringLiteral("-dialect=de_de")} << false
        << QStringLiteral("Benutzeridentifikation");
    // The simulator's sample override renames the English caption.
    QTest::newRow("override from the Print Service")
        << QStringList {} << true << QStringLiteral("Library Card Sign-In");
    // clang-format on
}

void EndToEndTest::dialogsSpeakTheChosenLanguage()
{
    QFETCH(QStringList, clientArguments);
    QFETCH(bool, overrides);
    QFETCH(QString, title);
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    installShippedLanguages();
    Child *simulator = startSimulator(overrides ? QStringList {QStringLiteral("--languages"),
                                          AppDir + QStringLiteral("/demo-languages")}
                                                : QStringList {},
        true);
    QVERIFY2(simulator, reports().constData());
    QString display;
    QVERIFY2(startClientOnDisplay(&display, clientArguments), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    type(simulator, QStringLiteral("send 54|{ts}|0\n"));
    // The dialog in that language still answers: Escape cancels the job.
    QVERIFY2(pressIn(display, QStringLiteral("^%1$").arg(title), QStringLiteral("Escape")),
        reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    QVERIFY(receivedTexts(simulator, registered + 1).constFirst().startsWith(QLatin1String("7|")));
}

// A patron switches language by keyboard alone in the dialog that waits for
// them: the same window speaks the new language at once and still answers.
void EndToEndTest::languageChosenInTheOpenDialog()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);
    installShippedLanguages();
    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QString display;
    QVERIFY2(startClientOnDisplay(&display), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());
    type(simulator, QStringLiteral("send 58|{ts}|O1|Pen_us,fr_ca|Qen_us|L30044\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);

    type(simulator, QStringLiteral("send 54|{ts}|0\n"));
    const QStringList search {QStringLiteral("search"), QStringLiteral("--sync"),
        QStringLiteral("--onlyvisible"), QStringLiteral("--name")};
    const QString english
        = xdotool(display, search + QStringList {QStringLiteral("^User Identification$")});
    QVERIFY2(!english.isEmpty(), reports().constData());
    // From the user ID field back to the language button, open the list,
    // one down from English to Français, choose.
    xdotool(display,
        {QStringLiteral("windowfocus"), QStringLiteral("--sync"), english, QStringLiteral("key"),
            QStringLiteral("shift+Tab"), QStringLiteral("space"), QStringLiteral("Down"),
            QStringLiteral("Return")});
    const QString french = xdotool(
        display, search + QStringList {QStringLiteral("^Identification de l.utilisateur$")});
    QCOMPARE(french, english);
    QCOMPARE(receivedTexts(simulator, registered + 1).size(), 1);

    QVERIFY2(pressIn(display, QStringLiteral("^Identification de l.utilisateur$"),
                 QStringLiteral("Escape")),
        reports().constData());
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 2, reports().constData(), AnswerTimeout);
    QVERIFY(receivedTexts(simulator, registered + 1).at(1).startsWith(QLatin1String("7|")));
}

void EndToEndTest::settingsAreAnsweredWithTheLocaleInForce()
{
    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QVERIFY2(startClient(), reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());

    // No locale on the command line: the site's default dialect takes over.
    type(simulator, QStringLiteral("send 58|20261209101500|Qfr_ca|L30044|JNorth Branch\n"));
    QTRY_VERIFY2_WITH_TIMEOUT(
        receivedTexts(simulator, registered + 1).size() == 1, reports().constData(), AnswerTimeout);
    const QString answer = receivedTexts(simulator, registered + 1).constFirst();
    QVERIFY2(QRegularExpression(QStringLiteral("^59\\|\\d{14}\\|Afr_ca$")).match(answer).hasMatch(),
        qPrintable(answer));
}

void EndToEndTest::outdatedClientQuitsAfterItsAnswer()
{
    if (!haveDisplayTools())
        QSKIP(NoDisplayTools);

    Child *simulator = startSimulator({}, true);
    QVERIFY2(simulator, reports().constData());
    QString displayName;
    Child *client = startClientOnDisplay(&displayName);
    QVERIFY2(client, reports().constData());
    const int registered = waitForRegistration(simulator);
    QVERIFY2(registered >= 0, reports().constData());
    QSignalSpy finished(&client->process, &QProcess::finished);

    type(simulator, QStringLiteral("send 64|20261209101500|A999.0\n"));
    // The box waits for the patron; nothing is answered meanwhile.
    // The box is the one visible window besides the main window.
    const auto xdo = [&](const QStringList &arguments) {
        return xdotool(displayName, arguments).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    const QStringList search {
        QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name")};
    QStringList boxes;
    QVERIFY2(QTest::qWaitFor(
                 [&] {
                     boxes = xdo(search + QStringList {QStringLiteral(".")});
                     for (const QString &main : xdo(search + QStringList {MainWindowTitlePattern}))
                         boxes.removeAll(main);
                     return !boxes.isEmpty();
                 },
                 StartTimeout),
        reports().constData());
    QVERIFY(receivedTexts(simulator, registered + 1).isEmpty());
    xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), boxes.constFirst(),
        QStringLiteral("key"), QStringLiteral("Return")});
    QTRY_VERIFY2_WITH_TIMEOUT(!finished.isEmpty(), reports().constData(), StartTimeout);
    QCOMPARE(client->process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(client->process.exitCode(), 0);
    const QStringList answers = receivedTexts(simulator, registered + 1);
    QCOMPARE(answers.size(), 1);
    QVERIFY2(
        QRegularExpression(QStringLiteral("^86\\|\\d{14}$")).match(answers.constFirst()).hasMatch(),
        qPrintable(answers.constFirst()));
    // Gone as after a quit request: the site's printers removed.
    QCOMPARE(readLines(path(QStringLiteral("remove.log"))).size(), 2);
}

void EndToEndTest::endlessTextCostsTheConnectionNotTheClient()
{
    QTcpServer service;
    QVERIFY2(playPrintService(&service), reports().constData());
    const QString tracePath = path(QStringLiteral("trace.txt"));
    Child *client = startClient({QStringLiteral("-trace=") + tracePath});
    QVERIFY2(client, reports().constData());
    const qint64 pid = client->process.processId();
    std::unique_ptr<ServiceEnd> first = ServiceEnd::accept(&service);
    QVERIFY2(first, reports().constData());
    const qint64 startKb = processStatusField(pid, "VmRSS");

    // 64 MiB without a NUL, offered as fast as the client reads.
    constexpr qint64 Offered = 64 * 1024 * 1024;
    const QByteArray chunk(256 * 1024, 'x');
    qint64 taken = 0;
    while (taken < Offered && first->send(chunk))
        taken += chunk.size();
    QTRY_VERIFY2_WITH_TIMEOUT(!first->isConnected(), reports().constData(), AnswerTimeout);
    const qint64 peakKb = processStatusField(pid, "VmHWM");
    qInfo("client took %lld of %lld bytes; VmRSS %lld kB before, VmHWM %lld kB after", taken,
        Offered, startKb, peakKb);
    // Dropped soon after the bound, not after the whole flood was held.
    QVERIFY2(taken < Offered / 4, qPrintable(QString::number(taken)));
    QVERIFY2(peakKb > 0 && peakKb < MemoryBoundKb, qPrintable(QString::number(peakKb)));
    QTRY_VERIFY_WITH_TIMEOUT(
        readAll(tracePath).contains(
            " Warning PrintClientMessager dataAvailable: Text of more than "
            "1048576 bytes without terminating NUL; dropping the connection\n"),
        AnswerTimeout);

    // Back as after any loss: registered first, then answering.
    std::unique_ptr<ServiceEnd> second = ServiceEnd::accept(&service);
    QVERIFY2(second, reports().constData());
    QCOMPARE(second->texts.constFirst(), registrationText(DefaultUser));
    QVERIFY(second->send(QByteArrayLiteral("99|7|after the flood") + '\0'));
    QVERIFY2(second->waitForTexts(2), reports().constData());
    QCOMPARE(second->texts.at(1), QStringLiteral("Message Not Handled: 99|7|after the flood"));
    QVERIFY(client->isRunning());
}

// PELLORA_CHAOS_SECONDS sets the length (20 s by default), PELLORA_CHAOS_SEED
// repeats a run.
void EndToEndTest::flappingPrintService()
{
    const int seconds = qEnvironmentVariableIsSet("PELLORA_CHAOS_SECONDS")
        ? qEnvironmentVariableIntValue("PELLORA_CHAOS_SECONDS")
        : 20;
    const quint32 seed = qEnvironmentVariableIsSet("PELLORA_CHAOS_SEED")
        ? quint32(qEnvironmentVariable("PELLORA_CHAOS_SEED").toUInt())
        : QRandomGenerator::system()->generate();
    QRandomGenerator random(seed);
    const QByteArray seedText = "seed " + QByteArray::number(seed);

    QTcpServer service;
    QVERIFY2(playPrintService(&service), reports().constData());
    Child *client = startClient();
    QVERIFY2(client, reports().constData());
    const qint64 pid = client->process.processId();

    qint64 sent = 0;
    qint64 answered = 0;
    int cutTexts = 0;
    int connections = 0;
    qint64 settledKb = -1;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000LL) {
        // Nothing of the last connection comes back on this one: the
        // registration first, then only answers to what was sent here.
        std::unique_ptr<ServiceEnd> peer = ServiceEnd::accept(&service);
        QVERIFY2(peer, (seedText + '\n' + reports()).constData());
        QCOMPARE(peer->texts.constFirst(), registrationText(DefaultUser));
        ++connections;

        QStringList expected;
        for (int burst = random.bounded(1, 6); burst > 0; --burst) {
            QByteArray bytes;
            for (int i = random.bounded(1, 40); i > 0; --i, ++sent) {
                const QString text = QStringLiteral("99|%1|%2|%3")
                                         .arg(connections)
                                         .arg(sent)
                                         .arg(QString(random.bounded(0, 300), QLatin1Char('p')));
                bytes += text.toUtf8() + '\0';
                expected << QStringLiteral("Message Not Handled: ") + text;
            }
            // Cut anywhere, texts and NULs alike, in pieces the client reads apart.
            while (!bytes.isEmpty()) {
                const qsizetype piece = random.bounded(1, int(bytes.size()) + 1);
                QVERIFY2(peer->send(bytes.left(piece)), seedText.constData());
                bytes.remove(0, piece);
                if (random.bounded(4) == 0)
                    QTest::qWait(random.bounded(1, 20));
            }
            QVERIFY2(peer->waitForTexts(1 + int(expected.size())),
                (seedText + '\n' + reports()).constData());
            QCOMPARE(peer->texts.mid(1), expected);
        }
        answered += expected.size();

        // The drop: after the answers, amid a burst left unanswered, or in
        // the middle of a text; a reset or an orderly close.
        const int how = random.bounded(3);
        if (how >= 1) {
            QByteArray tail;
            for (int i = how == 2 ? random.bounded(1, 10) : 0; i > 0; --i, ++sent)
                tail += "99|unanswered|" + QByteArray::number(sent) + '\0';
            peer->socket->write(tail + "99|cut|" + QByteArray(random.bounded(1, 500), 'c'));
            peer->socket->flush();
            ++cutTexts;
        }
        if (random.bounded(2) == 0)
            peer->socket->abort();
        else {
            peer->socket->disconnectFromHost();
            (void)QTest::qWaitFor([&] { return !peer->isConnected(); }, 1000);
        }
        if (connections == 3)
            settledKb = processStatusField(pid, "VmRSS");
    }
    // One more connection: the client came back after the last drop too.
    std::unique_ptr<ServiceEnd> last = ServiceEnd::accept(&service);
    QVERIFY2(last, (seedText + '\n' + reports()).constData());
    QCOMPARE(last->texts.constFirst(), registrationText(DefaultUser));
    const qint64 endKb = processStatusField(pid, "VmRSS");
    qInfo("%s: %lld texts sent whole, %lld answered on connections kept up, %d drops (%d in a "
          "text) each followed by a reconnection; VmRSS %lld kB at the third connection, %lld kB "
          "at the end, VmHWM %lld kB",
        seedText.constData(), sent, answered, connections, cutTexts, settledKb, endKb,
        processStatusField(pid, "VmHWM"));
    QVERIFY(client->isRunning());
    QVERIFY2(connections >= 2 && settledKb > 0, seedText.constData());
    QVERIFY2(endKb - settledKb < MemoryGrowthKb, seedText.constData());
}

void EndToEndTest::killedClientRestoresThePatronsDefaultNextTime_data()
{
    QTest::addColumn<bool>("removalClearsDefault");

    QTest::addRow("the removal leaves no default") << true;
    QTest::addRow("the removal leaves the site's queue named default") << false;
}

void EndToEndTest::killedClientRestoresThePatronsDefaultNextTime()
{
    QFETCH(bool, removalClearsDefault);

    // The site's scripts make their queue the default and, in one row, take it away.
    const QByteArray state = shellQuoted(path(QStringLiteral("bin/default")));
    const QByteArray events = shellQuoted(path(QStringLiteral("events.log")));
    const QString install
        = QString::fromUtf8("echo installed >> " + events + "; echo Pellora_Lab > " + state);
    const QString removal = QString::fromUtf8("echo removed >> " + events
        + (removalClearsDefault
                ? "; [ \"$(cat " + state + ")\" = Pellora_Lab ] && : > " + state + "; true"
                : QByteArray()));
    Child *simulator = startSimulator(
        {QStringLiteral("--install-script"), install, QStringLiteral("--remove-script"), removal});
    QVERIFY2(simulator, reports().constData());

    Child *killed = startClient();
    QVERIFY2(killed, reports().constData());
    QVERIFY2(waitForRegistration(simulator) >= 0, reports().constData());
    killed->process.kill();
    QVERIFY(killed->process.waitForFinished(AnswerTimeout));
    QCOMPARE(readLines(path(QStringLiteral("bin/default"))),
        QStringList {QStringLiteral("Pellora_Lab")});

    const int from = simulator->lines.size();
    Child *client = startClient();
    QVERIFY2(client, reports().constData());
    QVERIFY2(waitForRegistration(simulator, from) >= 0, reports().constData());
    QVERIFY2(client->endsOn(SIGTERM), reports().constData());

    // The killed run's queues went before the new ones came, and the patron's
    // default, not the site's queue, is what the quit put back.
    QCOMPARE(readLines(path(QStringLiteral("events.log"))),
        QStringList({QStringLiteral("removed"), QStringLiteral("installed"),
            QStringLiteral("removed"), QStringLiteral("installed"), QStringLiteral("removed")}));
    QCOMPARE(readLines(path(QStringLiteral("lpoptions.log"))),
        QStringList {QStringLiteral("-d Lab_Laser")});
    QCOMPARE(
        readLines(path(QStringLiteral("bin/default"))), QStringList {QStringLiteral("Lab_Laser")});
}

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
