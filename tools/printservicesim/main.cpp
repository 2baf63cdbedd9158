#include "PrintServiceSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

const char *const DESCRIPTION = R"(A stand-in Print Service for trying and testing the print client.

It listens for the client's connection on the message port and prints every
text the client sends, one line each, and sends texts from a scenario file
and from lines typed on standard input. On the HTTP port it serves
/printers/ (the installation and the removal script, each encoded, one per
line) and /languages/<DIALECT>_OVERRIDE.qm from the --languages folder
(404 when the file is missing).

Output, one line per event, flushed at once (texts escaped: \\ \0 \n \r \t
\xHH):
  LISTEN tcp|http <address> <port>   a server is up (port 0 picks a free one)
  CONNECTED <peer> / DISCONNECTED <peer>
  RECV <text>              a NUL-terminated text from the client
  RECV-UNTERMINATED <text> bytes without NUL left when the client closed
  RAW <bytes>              every read, NULs shown as \0 (--verbose)
  SENT <text> / SENT-RAW <bytes>
  HTTP <method> <path> <status>
  OK <command> <text>      a wait-register or expect was met
  NOTE <text>   CLOSED   SCENARIO-DONE   FAIL <command>: <reason>
  QUIT <status>

Scenario format, one command a line (blank lines and # comments skipped):
  wait-connect        wait until a client is connected
  wait-register       wait for the client's registration text (register:...);
                      texts received before it are skipped
  expect <regex>      the next text received must match the whole regex
  send <text>         send the text and one NUL
  send-raw <text>     send the bytes as written (escapes \0 \n \r \t \\ \xHH),
                      no NUL added: two texts in one write, or half a text
  sleep <ms>          pause
  timeout <ms>        time limit of later waits (default --timeout)
  close               close the client's connection (it reconnects)
  note <text>         print NOTE <text>
  quit [status]       end, with exit status 0 or the one given
In sent texts {ts} becomes the current time stamp (yyyyMMddhhmmss).
A failed or timed-out scenario command prints FAIL and ends with status 1.
Lines typed on standard input take the same commands, after the scenario; a
typed line that is no command is sent as a text, and failures only print.

Example scenario:
  wait-register
  send 54|{ts}|A1|BPrinter_A|C3
  expect 55\|\d{14}\|.*
  quit)";

QString readScript(const QCommandLineParser &parser, const QCommandLineOption &text,
    const QCommandLineOption &file, const QString &fallback, bool *ok)
{
    if (parser.isSet(file)) {
        QFile script(parser.value(file));
        if (!script.open(QIODevice::ReadOnly)) {
            std::fprintf(
                stderr, "printservicesim: cannot read %s\n", qPrintable(script.fileName()));
            *ok = false;
            return {};
        }
        // One script is one encoded line; keep its own line breaks inside it.
        return QString::fromUtf8(script.readAll()).trimmed();
    }
    return parser.isSet(text) ? parser.value(text) : fallback;
}

bool readPort(const QCommandLineParser &parser, const QCommandLineOption &option, quint16 *port)
{
    bool ok = false;
    const uint value = parser.value(option).toUInt(&ok);
    if (!ok || value > 65535) {
        std::fprintf(stderr, "printservicesim: bad port %s\n", qPrintable(parser.value(option)));
        return false;
    }
    *port = quint16(value);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("printservicesim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(DESCRIPTION));
    parser.addHelpOption();
    const QCommandLineOption listen({QStringLiteral("l"), QStringLiteral("listen")},
        QStringLiteral("Address to listen on."), QStringLiteral("address"),
        QStringLiteral("127.0.0.1"));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")},
        QStringLiteral("Message port (0: any free port)."), QStringLiteral("port"),
        QStringLiteral("21326"));
    const QCommandLineOption httpPort(QStringLiteral("http-port"),
        QStringLiteral("HTTP port (0: any free port)."), QStringLiteral("port"),
        QStringLiteral("30044"));
    const QCommandLineOption scenario({QStringLiteral("s"), QStringLiteral("scenario")},
        QStringLiteral("Commands to run, see above."), QStringLiteral("file"));
    const QCommandLineOption install(QStringLiteral("install-script"),
        QStringLiteral("Printer installation script."), QStringLiteral("script"));
    const QCommandLineOption removal(QStringLiteral("remove-script"),
        QStringLiteral("Printer removal script."), QStringLiteral("script"));
    const QCommandLineOption installFile(QStringLiteral("install-script-file"),
        QStringLiteral("Read the installation script from a file."), QStringLiteral("file"));
    const QCommandLineOption removalFile(QStringLiteral("remove-script-file"),
        QStringLiteral("Read the removal script from a file."), QStringLiteral("file"));
    const QCommandLineOption languages(QStringLiteral("languages"),
        QStringLiteral("Folder of <DIALECT>_OVERRIDE.qm files."), QStringLiteral("folder"));
    const QCommandLineOption failPrinters(QStringLiteral("fail-printers"),
        QStringLiteral("Answer the first n /printers/ "
                       "requests with 503."),
        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
        QStringLiteral("Time limit of each wait, in ms."), QStringLiteral("ms"),
        QStringLiteral("30000"));
    const QCommandLineOption noStdin(
        QStringLiteral("no-stdin"), QStringLiteral("Do not read commands from standard input."));
    const QCommandLineOption verbose({QStringLiteral("v"), QStringLiteral("verbose")},
        QStringLiteral("Also print every read as RAW bytes."));
    parser.addOptions({listen, port, httpPort, scenario, install, removal, installFile, removalFile,
        languages, failPrinters, timeout, noStdin, verbose});
    parser.process(app);

    PrintServiceSimulator::Settings settings;
    if (!settings.listenAddress.setAddress(parser.value(listen))) {
        std::fprintf(stderr, "printservicesim: bad address %s\n", qPrintable(parser.value(listen)));
        return 2;
    }
    if (!readPort(parser, port, &settings.messagePort)
        || !readPort(parser, httpPort, &settings.httpPort))
        return 2;
    bool ok = true;
    settings.installScript = readScript(parser, install, installFile,
        QStringLiteral("echo 'printservicesim: installation script ran'"), &ok);
    settings.removalScript = readScript(parser, removal, removalFile,
        QStringLiteral("echo 'printservicesim: removal script ran'"), &ok);
    if (!ok)
        return 2;
    settings.languagesFolder = parser.value(languages);
    settings.failPrinterRequests = parser.value(failPrinters).toInt();
    settings.waitTimeoutMillis = parser.value(timeout).toInt();
    settings.showRawBytes = parser.isSet(verbose);
    settings.readStandardInput = !parser.isSet(noStdin);

    PrintServiceSimulator simulator(settings);
    if (parser.isSet(scenario)) {
        QFile file(parser.value(scenario));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "printservicesim: cannot read %s\n", qPrintable(file.fileName()));
            return 2;
        }
        QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (QString &line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        simulator.addScenario(lines);
    }
    QObject::connect(
        &simulator, &PrintServiceSimulator::finished, &app,
        [](int status) { QCoreApplication::exit(status); }, ::Qt::QueuedConnection);

    QString error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "printservicesim: %s\n", qPrintable(error));
        return 2;
    }
    return app.exec();
}
