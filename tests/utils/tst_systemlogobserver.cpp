// The system log's lines as the log daemon receives them: a datagram socket
// of the test's own stands where /dev/log would be.

#include "EventRecorder.h"
#include "LogSocket.h"
#include "ObservableEvent.h"
#include "ObserverGroup.h"
#include "SystemLogObserver.h"
#include "Trace.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using UtilsLib::ObservableEvent;
using UtilsLib::SystemLogObserver;

class SystemLogObserverTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void eventsThatReachTheLog_data();
    void eventsThatReachTheLog();
    void neverWaitsForTheLog_data();
    void neverWaitsForTheLog();
    void tracedObjectsBuildOnlyWhatTheLogTakes();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void SystemLogObserverTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void SystemLogObserverTest::eventsThatReachTheLog_data()
{
    // clang-format off
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("details");
    // The text after "pelloraVav[pid]: ", or empty when nothing is sent.
    QTest::addColumn<QByteArray>("priority");
    QTest::addColumn<QByteArray>("text");

    QTest::addRow("warning") << Trace::Warning << QStringLiteral("Message is malformed")
        << QByteArray("<12>") << QByteArray("Warning KoaMessageDispatcher dispatch: Message is malformed");
    QTest::addRow("error") << Trace::Error << QStringLiteral("Handling the message failed")
        << QByteArray("<11>") << QByteArray("Error KoaMessageDispatcher dispatch: Handling the message failed");
    // The other levels carry the wire's texts, and with them IDs and PINs.
    QTest::addRow("info") << Trace::Info << QStringLiteral("Message to dispatch=55|1|0|JO|JO|10121416")
        << QByteArray() << QByteArray();
    QTest::addRow("verbose") << Trace::Verbose << QStringLiteral("After check for NO_RESPONSE")
        << QByteArray() << QByteArray();
    QTest::addRow("entry") << Trace::TraceCategory << QStringLiteral("Enter: dispatch")
        << QByteArray() << QByteArray();
    QTest::addRow("message report") << QStringLiteral("Application") << QStringLiteral("55|1|0|JO")
        << QByteArray() << QByteArray();
    // A line break would forge a second line in a plain-text log.
    QTest::addRow("control characters") << Trace::Warning
        << QStringLiteral("a\nFeb  3 10:00:00 host sshd[1]: b\r\t\u0085\u2028\x7f")
        << QByteArray("<12>")
        << QByteArray("Warning KoaMessageDispatcher dispatch: a\\x0aFeb  3 10:00:00 host sshd[1]: "
                      "b\\x0d\\x09\\x85\\x2028\\x7f");
    QTest::addRow("non-ASCII") << Trace::Warning << QString::fromUtf8("Z\u00fcrich \u20ac")
        << QByteArray("<12>") << QString::fromUtf8("Warning KoaMessageDispatcher dispatch: Z\u00fcrich \u20ac").toUtf8();
    // Cut at a whole character: 1021 bytes of text, then the mark of the cut.
    QTest::addRow("too long") << Trace::Warning << QString(2000, QChar(0x00e9))
        << QByteArray("<12>")
        << QByteArray("Warning KoaMessageDispatcher dispatch: ")
               + QString(491, QChar(0x00e9)).toUtf8() + "...";
    // clang-format on
}

void SystemLogObserverTest::eventsThatReachTheLog()
{
    QFETCH(QString, category);
    QFETCH(QString, details);
    QFETCH(QByteArray, priority);
    QFETCH(QByteArray, text);

    LogSocket log(m_folder->filePath(QStringLiteral("log")));
    QVERIFY(log.isBound());
    // RFC 3164's tag: at most 32 letters and digits; a blank or "[" would end it early.
    SystemLogObserver observer(QStringLiteral("pellora Vav[1]: ") + QString(40, QLatin1Char('v')),
        m_folder->filePath(QStringLiteral("log")));
    observer.notify(ObservableEvent(category, QStringLiteral("KoaMessageDispatcher"), details,
        short(category == Trace::Error ? 1 : 2), QStringLiteral("dispatch")));

    const QList<QByteArray> datagrams = log.take();
    if (priority.isEmpty()) {
        QCOMPARE(datagrams, QList<QByteArray>());
        return;
    }
    QCOMPARE(datagrams.size(), 1);
    const QByteArray &datagram = datagrams.constFirst();
    // RFC 3164: <PRI>Mmm dd hh:mm:ss TAG[pid]: text
    const QByteArray header = priority + "[A-Z][a-z]{2} [ 1-3]\\d \\d\\d:\\d\\d:\\d\\d pelloraVav1"
        + QByteArray(21, 'v') + "\\[" + QByteArray::number(QCoreApplication::applicationPid())
        + "\\]: ";
    const QRegularExpressionMatch match
        = QRegularExpression(QString::fromLatin1("^" + header)).match(QString::fromUtf8(datagram));
    QVERIFY2(match.hasMatch(), datagram.constData());
    QCOMPARE(datagram.mid(match.capturedLength()), text);
    QVERIFY(datagram.size() - match.capturedLength() <= SystemLogObserver::MAX_TEXT_BYTES);
}

void SystemLogObserverTest::neverWaitsForTheLog_data()
{
    QTest::addColumn<bool>("listening");

    QTest::addRow("no log daemon") << false;
    QTest::addRow("a log daemon that does not read") << true;
}

// A missing or full log socket costs the lines, never the patron's time: a
// send that waited would hang here at the first full buffer.
void SystemLogObserverTest::neverWaitsForTheLog()
{
    QFETCH(bool, listening);

    const QString path = m_folder->filePath(QStringLiteral("log"));
    std::unique_ptr<LogSocket> log;
    if (listening) {
        log = std::make_unique<LogSocket>(path, 4096);
        QVERIFY(log->isBound());
    }
    SystemLogObserver observer(QStringLiteral("pelloraVav"), path);
    constexpr int Lines = 2000;
    int sent = 0;
    for (int i = 0; i < Lines; ++i)
        sent += observer.write(SystemLogObserver::Warning, QString(900, QLatin1Char('x'))) ? 1 : 0;
    QVERIFY(sent < Lines);
    QCOMPARE(observer.droppedLines(), Lines - sent);
    if (listening) {
        QVERIFY(sent > 0);
        // Room again once the daemon reads: the next line goes.
        const int waiting = int(log->take().size());
        QCOMPARE(waiting, sent);
        QVERIFY(observer.write(SystemLogObserver::Notice, QStringLiteral("again")));
        QCOMPARE(log->take().size(), 1);
    }
}

// The log is always attached: with it alone, a traced call builds no entry,
// exit or Info event (they cost a round trip twice its time when built).
void SystemLogObserverTest::tracedObjectsBuildOnlyWhatTheLogTakes()
{
    SystemLogObserver log(QStringLiteral("pelloraVav"), m_folder->filePath(QStringLiteral("log")));
    UtilsLib::ObserverGroup group;
    group.addObserver(&log);
    UtilsLib::Observable traced;
    traced.addObserver(&group);
    QVERIFY(Trace::isListening(&traced, Trace::ErrorCode));
    QVERIFY(Trace::isListening(&traced, Trace::WarningCode));
    QVERIFY(!Trace::isListening(&traced, Trace::InfoCode));
    QVERIFY(!Trace::isListening(&traced, Trace::TraceCode));

    // -trace=FILE takes everything.
    EventRecorder trace;
    group.addObserver(&trace);
    QVERIFY(Trace::isListening(&traced, Trace::TraceCode));
    {
        Trace scope(&traced, QStringLiteral("KoaMessageDispatcher"), "dispatch");
    }
    QCOMPARE(trace.details(),
        QStringList({QStringLiteral("Enter: dispatch"), QStringLiteral("Exit: dispatch")}));
}

QTEST_GUILESS_MAIN(SystemLogObserverTest)
#include "tst_systemlogobserver.moc"
