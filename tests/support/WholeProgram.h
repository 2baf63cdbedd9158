#pragma once

// Helpers of the tests that run built programs as a whole: a child process
// kept line by line, the simulator's escaped texts, files of the test's
// folder, and a private X server on which xdotool acts as the patron.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <memory>

// Sanitizers slow every start down; nothing here waits that long when all is well.
inline constexpr int StartTimeout = 60000;
inline constexpr int AnswerTimeout = 30000;

// The sanitizers' shadow memory and quarantine of freed blocks put any client
// far above what it uses unsanitized; there only growth without bound is caught.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr qint64 MemoryBoundKb = 600 * 1024;
inline constexpr qint64 MemoryGrowthKb = 300 * 1024;
#else
inline constexpr qint64 MemoryBoundKb = 100 * 1024;
inline constexpr qint64 MemoryGrowthKb = 30 * 1024;
#endif

// A child process whose standard output is kept line by line.
class Child
{
public:
    explicit Child(const QString &name);
    ~Child();
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    void stop();
    bool isRunning() const { return process.state() == QProcess::Running; }
    // Sends the signal: whether the process then ends of itself, with 0.
    bool endsOn(int signalNumber);
    // Index of the first line at or after `from` that matches, or -1.
    int find(const QRegularExpression &pattern, int from = 0) const;
    int count(const QRegularExpression &pattern) const;
    int waitFor(const QRegularExpression &pattern, int from = 0, int timeout = AnswerTimeout);
    QByteArray report() const;

    QProcess process;
    QStringList lines;
    QByteArray errors;

private:
    QString m_name;
    QByteArray m_partial;
};

QRegularExpression exactly(const QString &text);
// The simulator's RECV lines escape control bytes and the backslash.
QString unescapeSimulatorText(const QString &text);
QStringList readLines(const QString &path);
bool writeFile(const QString &path, const QByteArray &data, bool executable = false);
QByteArray shellQuoted(const QString &text);
// The folders of one run of a program in `root`: app (a copy of the program),
// home, run (the user's alone) and bin.
bool makeProgramFolders(const QString &root, const QString &program);
// The environment of the client run from those folders, as `user`: its own
// home and runtime folder, bin (the stand-in CUPS tools) first on the PATH,
// the system log on root/log.sock, never the machine's; on `display`, or
// offscreen when empty. The sanitizers' options are passed on.
QProcessEnvironment clientEnvironment(
    const QString &root, const QString &user, const QString &display = QString());
// The site's printClient.tsp in `appFolder`, naming the Print Service at `address`.
bool writeServiceAddress(const QString &appFolder, const QString &address);
// The shipped translations of `programFolder` copied into `appFolder`/languages.
bool copyShippedLanguages(const QString &programFolder, const QString &appFolder);

// The private X server and the patron's keyboard of the display tests.
bool haveDisplayTools();
inline constexpr const char *NoDisplayTools
    = "Xvfb and xdotool are needed (scripts/setup.sh installs them)";
// Starts an X server of 1024x768 for one client; its display name goes to
// `displayName`, empty when it did not start.
std::unique_ptr<Child> startXvfb(QString *displayName);
// The client's environment on that display. It gets no session bus: without
// one, libdbus would autolaunch a daemon that outlives the client.
void useDisplay(QProcessEnvironment *environment, const QString &display);
// Runs xdotool on that display: whether it succeeded, and its output.
bool runXdotool(const QString &display, const QStringList &arguments, QString *output = nullptr);
// xdotool's output on that display; empty when it failed.
QString xdotool(const QString &display, const QStringList &arguments);
