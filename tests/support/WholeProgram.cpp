#include "WholeProgram.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

#include <csignal>

Child::Child(const QString &name)
    : m_name(name)
{
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [this] {
        m_partial += process.readAllStandardOutput();
        for (const QByteArray &line : takeTerminated(&m_partial, '\n'))
            lines.append(QString::fromUtf8(line));
    });
    QObject::connect(&process, &QProcess::readyReadStandardError, &process,
        [this] { errors += process.readAllStandardError(); });
}

Child::~Child()
{
    stop();
    QObject::disconnect(&process, nullptr, nullptr, nullptr);
}

void Child::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();
    process.waitForFinished(10000);
}

bool Child::endsOn(int signalNumber)
{
    return ::kill(pid_t(process.processId()), signalNumber) == 0
        && QTest::qWaitFor([this] { return !isRunning(); }, StartTimeout)
        && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

int Child::find(const QRegularExpression &pattern, int from) const
{
    for (int i = from; i < lines.size(); ++i) {
        if (pattern.match(lines.at(i)).hasMatch())
            return i;
    }
    return -1;
}

int Child::count(const QRegularExpression &pattern) const
{
    int n = 0;
    for (const QString &line : lines)
        n += pattern.match(line).hasMatch() ? 1 : 0;
    return n;
}

int Child::waitFor(const QRegularExpression &pattern, int from, int timeout)
{
    int index = -1;
    if (!QTest::qWaitFor([&] { return (index = find(pattern, from)) >= 0; }, timeout))
        return -1;
    return index;
}

QByteArray Child::report() const
{
    return (QStringLiteral("--- %1 stdout:\n").arg(m_name) + lines.join(QLatin1Char('\n'))
               + QStringLiteral("\n--- %1 stderr:\n").arg(m_name))
               .toUtf8()
        + errors;
}

QRegularExpression exactly(const QString &text)
{
    return QRegularExpression(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(text)));
}

QString unescapeSimulatorText(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('0'))
            out += QChar(0);
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (next == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (next == QLatin1Char('x') && i + 2 < text.size()) {
            out += QChar(text.mid(i + 1, 2).toUShort(nullptr, 16));
            i += 2;
        } else
            out += next;
    }
    return out;
}

QStringList readLines(const QString &path)
{
    return QString::fromUtf8(readAll(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool writeFile(const QString &path, const QByteArray &data, bool executable)
{
    return writeAll(path, data)
        && (!executable
            || QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner));
}

QByteArray shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return "'" + quoted.toUtf8() + "'";
}

bool makeProgramFolders(const QString &root, const QString &program)
{
    QDir folder(root);
    for (const char *name : {"app", "home", "run", "bin"}) {
        if (!folder.mkdir(QLatin1String(name)))
            return false;
    }
    return QFile::setPermissions(folder.filePath(QStringLiteral("run")),
               QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
        && QFile::copy(
            program, folder.filePath(QStringLiteral("app/") + QFileInfo(program).fileName()));
}

QProcessEnvironment clientEnvironment(
    const QString &root, const QString &user, const QString &display)
{
    const QDir folder(root);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), folder.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("USER"), user);
    environment.insert(QStringLiteral("PATH"),
        folder.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    if (display.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
        useDisplay(&environment, display);
    environment.insert(
        QStringLiteral("PELLORA_LOG_SOCKET"), folder.filePath(QStringLiteral("log.sock")));
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (own.contains(QLatin1String(name)))
            environment.insert(QLatin1String(name), own.value(QLatin1String(name)));
    }
    return environment;
}

bool writeServiceAddress(const QString &appFolder, const QString &address)
{
    return writeFile(QDir(appFolder).filePath(QStringLiteral("printClient.tsp")),
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<Settings>\n<version>1.1</version>\n"
        "<type>Mac Printer Connector</type>\n<entry name='Print Service Address'>"
            + address.toUtf8() + "</entry>\n</Settings>\n");
}

bool copyShippedLanguages(const QString &programFolder, const QString &appFolder)
{
    const QDir shipped(programFolder + QStringLiteral("/languages"));
    const QDir languages(appFolder + QStringLiteral("/languages"));
    if (!QDir().mkpath(languages.path()))
        return false;
    const QStringList files = shipped.entryList({QStringLiteral("*.qm")}, QDir::Files);
    for (const QString &file : files) {
        if (!QFile::copy(shipped.filePath(file), languages.filePath(file)))
            return false;
    }
    return files.contains(QStringLiteral("fr_ca.qm"));
}

bool haveDisplayTools()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

std::unique_ptr<Child> startXvfb(QString *displayName)
{
    displayName->clear();
    auto server = std::make_unique<Child>(QStringLiteral("Xvfb"));
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return server;
    server->process.start(xvfb,
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
            QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1024x768x24")});
    Child *display = server.get();
    if (display->process.waitForStarted(StartTimeout)
        && QTest::qWaitFor(
            [display] { return !display->lines.isEmpty() || !display->isRunning(); }, StartTimeout)
        && display->isRunning())
        *displayName = QLatin1Char(':') + display->lines.constFirst().trimmed();
    return server;
}

void useDisplay(QProcessEnvironment *environment, const QString &display)
{
    environment->insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment->insert(QStringLiteral("DISPLAY"), display);
    environment->insert(
        QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
}

bool runXdotool(const QString &display, const QStringList &arguments, QString *output)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")), arguments);
    if (!tool.waitForFinished(StartTimeout)) {
        tool.kill();
        tool.waitForFinished();
        return false;
    }
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QString xdotool(const QString &display, const QStringList &arguments)
{
    QString output;
    return runXdotool(display, arguments, &output) ? output : QString();
}
