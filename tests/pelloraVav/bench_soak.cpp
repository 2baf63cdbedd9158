// A busy day on one client: print jobs run one after the other through the
// built client on a private X display, each job's cost dialog and its
// confirmation (or, every fifth job, its deletion box) answered with Return as
// a patron would. Prints the client's memory every 100 jobs and its growth per
// 100 jobs after the first 200. Fails when a dialog goes unanswered (a job the
// patron could not print is no job of the figure), when the client does not
// end cleanly, or when the anonymous memory grows by more than --max-growth kB
// per 100 jobs.
//
// Usage: bench_soak [--jobs 2000] [--max-growth 64] [--program PATH] [--env NAME=VALUE]...
// (--program: another build of the client, for a figure before a change;
// --env: a setting of the client's environment to compare, e.g. QT_XCB_NO_MITSHM=1)
// Needs Xvfb and xdotool; run it where ports 21326 and 30044 are free, e.g.
//   unshare -n sh -c 'ip link set lo up && build/tests/bench_soak'

#include "ClientBench.h"
#include "WholeProgram.h"

#include <QDateTime>
#include <QStandardPaths>

#include <cstdio>
#include <vector>

using namespace ClientBench;

namespace {

constexpr int SAMPLE_EVERY = 100;
constexpr int WARM_UP_JOBS = 200;
constexpr int DIALOG_WAIT_MILLIS = 10000;

struct Memory
{
    qint64 rssKb = -1;
    qint64 pssKb = -1;
    qint64 anonymousKb = -1; // the heap and every other private allocation
};

Memory memoryOf(qint64 pid)
{
    const QByteArray rollup = readAll(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    return {processStatusField(pid, "VmRSS"), statusField(rollup, "Pss"),
        statusField(rollup, "Anonymous")};
}

// Kilobytes per SAMPLE_EVERY jobs: the least-squares slope of the samples.
double growthPerHundred(const std::vector<std::pair<int, qint64>> &samples)
{
    if (samples.size() < 2)
        return 0;
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (const auto &[jobs, kb] : samples) {
        sumX += jobs;
        sumY += double(kb);
        sumXX += double(jobs) * jobs;
        sumXY += double(jobs) * double(kb);
    }
    const double n = double(samples.size());
    return (n * sumXY - sumX * sumY) / (n * sumXX - sumX * sumX) * SAMPLE_EVERY;
}

// A private X server; its display name, or empty.
QString startDisplay(QProcess *server)
{
    server->start(QStandardPaths::findExecutable(QStringLiteral("Xvfb")),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
            QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1024x768x24")});
    if (!server->waitForStarted()
        || !waitUntil([&] { return server->canReadLine() || server->state() != QProcess::Running; })
        || server->state() != QProcess::Running)
        return {};
    return QLatin1Char(':') + QString::fromLatin1(server->readLine().trimmed());
}

// Presses Return in the window titled `title` if it shows, without blocking
// the event loop: the client's answer is read meanwhile.
class Patron
{
public:
    explicit Patron(const QString &display)
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("DISPLAY"), display);
        m_tool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    }

    void pressReturnIn(const QString &title)
    {
        QProcess tool;
        tool.setProcessEnvironment(m_environment);
        tool.start(m_tool,
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                title, QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                QStringLiteral("%1"), QStringLiteral("key"), QStringLiteral("Return")});
        if (!waitUntil([&] { return tool.state() == QProcess::NotRunning; }, DIALOG_WAIT_MILLIS)) {
            tool.kill();
            tool.waitForFinished();
        }
    }

private:
    QProcessEnvironment m_environment;
    QString m_tool;
};

QByteArray stamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int jobs = intOption(app.arguments(), QStringLiteral("--jobs"), 2000);
    const int maxGrowthKb = intOption(app.arguments(), QStringLiteral("--max-growth"), 64);
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        std::fprintf(stderr, "Xvfb and xdotool are needed (scripts/setup.sh installs them)\n");
        return 1;
    }

    const qsizetype programAt = app.arguments().indexOf(QStringLiteral("--program"));
    const QString program = programAt > 0 && programAt + 1 < app.arguments().size()
        ? app.arguments().at(programAt + 1)
        : QStringLiteral(PELLORA_APP_DIR "/pelloraVav");
    ClientSandbox sandbox;
    FakePrintService service;
    if (!setUp(&sandbox, &service, program))
        return 1;
    QProcess display;
    const QString displayName = startDisplay(&display);
    if (displayName.isEmpty()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }

    QProcess client;
    QProcessEnvironment environment = sandbox.environment();
    useDisplay(&environment, displayName);
    const QStringList arguments = app.arguments();
    for (qsizetype i = arguments.indexOf(QStringLiteral("--env"));
         i >= 0 && i + 1 < arguments.size();
         i = arguments.indexOf(QStringLiteral("--env"), i + 1)) {
        const QString setting = arguments.at(i + 1);
        environment.insert(
            setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
    }
    client.setProcessEnvironment(environment);
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.setStandardOutputFile(QProcess::nullDevice());
    client.start(sandbox.program(), {});
    if (!waitUntil([&] { return service.peer("bench") != nullptr; })) {
        std::fprintf(stderr, "the client did not register\n");
        endProcess(client);
        return 1;
    }
    FakePrintService::Peer *peer = service.peer("bench");
    Patron patron(displayName);

    // One job: the cost dialog, then its confirmation or its deletion.
    const auto runJob = [&](int number) {
        const QByteArray cost = "4|" + stamp()
            + "|A3|B<html>&#36;</html>0.10|C0|E<html>&#36;"
              "</html>0.30|FColour pages cost more.";
        std::optional<QByteArray> answer = service.exchange(
            peer, cost, [&] { patron.pressReturnIn(QStringLiteral("^Print this job")); });
        // A cancel means the dialog timed out before the patron's Return reached it.
        if (!answer || !answer->startsWith("5|")) {
            std::fprintf(stderr, "job %d: cost dialog answered %s\n", number,
                answer ? answer->constData() : "nothing");
            return false;
        }
        const bool deleted = number % 5 == 0;
        const QByteArray outcome = deleted ? "51|" + stamp()
                                           : "6|" + stamp() + "|1|J" + QByteArray::number(number)
                + "|T2026-12-09T17:30:00|LDesk 1#^#Main floor#^#Desk 2#^#Lower floor";
        answer = service.exchange(peer, outcome, [&] {
            patron.pressReturnIn(
                deleted ? QStringLiteral("^Job Canceled$") : QStringLiteral("^Print Complete$"));
        });
        if (!answer || !answer->startsWith("86|")) {
            std::fprintf(stderr, "job %d: %s answered %s\n", number,
                deleted ? "deletion" : "confirmation", answer ? answer->constData() : "nothing");
            return false;
        }
        return true;
    };

    std::printf("%d print jobs through one client (kB):\n", jobs);
    std::printf("  %6s %9s %9s %10s\n", "jobs", "VmRSS", "PSS", "anonymous");
    std::vector<std::pair<int, qint64>> rss;
    std::vector<std::pair<int, qint64>> anonymous;
    const auto sample = [&](int done) {
        const Memory memory = memoryOf(client.processId());
        std::printf(
            "  %6d %9lld %9lld %10lld\n", done, memory.rssKb, memory.pssKb, memory.anonymousKb);
        std::fflush(stdout);
        if (done >= WARM_UP_JOBS) {
            rss.emplace_back(done, memory.rssKb);
            anonymous.emplace_back(done, memory.anonymousKb);
        }
    };
    sample(0);
    QElapsedTimer clock;
    clock.start();
    for (int number = 1; number <= jobs; ++number) {
        if (!runJob(number)) {
            endProcess(client);
            display.terminate();
            display.waitForFinished();
            return 1;
        }
        if (number % SAMPLE_EVERY == 0)
            sample(number);
    }
    const double growth = growthPerHundred(anonymous);
    std::printf("Growth per %d jobs after the first %d: VmRSS %.1f kB, anonymous %.1f kB "
                "(%.1f jobs/s)\n",
        SAMPLE_EVERY, WARM_UP_JOBS, growthPerHundred(rss), growth,
        jobs * 1000.0 / double(clock.elapsed()));

    const bool ended = endProcess(client) && client.exitStatus() == QProcess::NormalExit
        && client.exitCode() == 0;
    display.terminate();
    display.waitForFinished();
    if (!ended)
        std::fprintf(stderr, "the client did not end cleanly on SIGTERM\n");
    // Too few samples for a slope is no figure either.
    const bool measured = anonymous.size() >= 2;
    if (!measured)
        std::fprintf(stderr, "too few jobs for a growth figure: run more than %d\n",
            WARM_UP_JOBS + SAMPLE_EVERY);
    const bool flat = growth <= maxGrowthKb;
    if (!flat)
        std::fprintf(stderr, "memory grows by %.1f kB per %d jobs, more than %d kB\n", growth,
            SAMPLE_EVERY, maxGrowthKb);
    return ended && measured && flat ? 0 : 1;
}
