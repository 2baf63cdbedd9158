#include "EventRecorder.h"
#include "Observable.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "StringHelpers.h"
#include "Trace.h"
#include "TraceLineObserver.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

using UtilsLib::ObservableEvent;

namespace {
// Detaches itself while being notified: the others must still be told.
class SelfRemover : public UtilsLib::Observer
{
public:
    explicit SelfRemover(UtilsLib::Observable *observable)
        : m_observable(observable)
    { }
    void notify(const ObservableEvent &) override { m_observable->removeObserver(this); }

private:
    UtilsLib::Observable *m_observable;
};

void tracedMethod(const UtilsLib::Observable *observable)
{
    Trace trace(observable, QStringLiteral("PrintClientMessager"), "connectToServer");
    Trace::log(observable, QStringLiteral("PrintClientMessager"), "connectToServer", Trace::Info,
        Trace::InfoCode, QStringLiteral("step"));
}
} // namespace

class TestObservers : public QObject
{
    Q_OBJECT

private slots:
    void observerList()
    {
        UtilsLib::Observable observable;
        EventRecorder a, b;
        observable.addObserver(&a);
        observable.addObserver(&a);
        observable.addObserver(nullptr);
        observable.addObserver(&b);
        QCOMPARE(observable.observersCount(), 2);

        observable.announceEvent(ObservableEvent(QStringLiteral("Info"), QStringLiteral("s"),
            QStringLiteral("d"), 6, QStringLiteral("f")));
        QCOMPARE(a.events.size(), 1);
        QCOMPARE(b.events.size(), 1);

        UtilsLib::Observable copy(observable);
        QCOMPARE(copy.observersCount(), 2);
        QVERIFY(observable.removeObserver(&a));
        QVERIFY(!observable.removeObserver(&a));
        QCOMPARE(copy.observersCount(), 2);

        UtilsLib::Observable target;
        observable.copyObservers(target);
        QCOMPARE(target.observersCount(), 1);
        target = target;
        QCOMPARE(target.observersCount(), 1);
    }

    void announceOrderSurvivesSelfRemoval()
    {
        UtilsLib::Observable observable;
        SelfRemover remover(&observable);
        EventRecorder after;
        observable.addObserver(&remover);
        observable.addObserver(&after);
        observable.announceEvent(ObservableEvent());
        QCOMPARE(after.events.size(), 1);
        QCOMPARE(observable.observersCount(), 1);
    }

    void functionSplit_data()
    {
        // clang-format off
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("joined");
        QTest::addRow("class and method")
            << "PrintClientMessager::reconnect" << "PrintClientMessager" << "reconnect"
            << "PrintClientMessager::reconnect";
        QTest::addRow("bare method") << "reconnect" << "" << "reconnect" << "reconnect";
        QTest::addRow("leading separator") << "::reconnect" << "" << "::reconnect" << "::reconnect";
        QTest::addRow("nested, split at last") << "A::B::run" << "A::B" << "run" << "A::B::run";
        QTest::addRow("empty") << "" << "" << "" << "";
        // clang-format on
    }

    void functionSplit()
    {
        QFETCH(QString, function);
        const ObservableEvent event(
            QStringLiteral("Info"), QStringLiteral("x"), QString(), 6, function);
        QTEST(event.sourceObject(), "object");
        QTEST(event.sourceMethod(), "method");
        QTEST(event.function(), "joined");
    }

    void severityWords_data()
    {
        QTest::addColumn<short>("code");
        QTest::addColumn<QString>("word");
        QTest::addRow("0") << short(0) << "None";
        QTest::addRow("1") << short(1) << "Error";
        QTest::addRow("2") << short(2) << "Information";
        QTest::addRow("3") << short(3) << "Unknown";
        QTest::addRow("6") << short(6) << "Information";
        QTest::addRow("9") << short(9) << "Information";
        QTest::addRow("-1") << short(-1) << "Unknown";
    }

    void severityWords()
    {
        QFETCH(short, code);
        QTEST(ObservableEvent(QString(), QString(), QString(), code, QString()).severity(), "word");
    }

    void stringHelpers_data()
    {
        // clang-format off
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("escaped");
        QTest::addRow("specials") << "a<b & \"c\"" << "a&lt;b &amp; &quot;c&quot;";
        QTest::addRow("entity escaped again") << "&amp;" << "&amp;amp;";
        QTest::addRow("apostrophe and gt") << "it's > 1" << "it&apos;s &gt; 1";
        QTest::addRow("plain") << "plain" << "plain";
        // clang-format on
    }

    void stringHelpers()
    {
        QFETCH(QString, input);
        QTEST(UtilsLib::StringHelpers::escape(input), "escaped");
        QCOMPARE(UtilsLib::StringHelpers::stripChars(QStringLiteral("a-b_c"), QStringLiteral("-_")),
            QStringLiteral("abc"));
        QCOMPARE(UtilsLib::StringHelpers::stripChars(QStringLiteral("abc"), QString()),
            QStringLiteral("abc"));
    }

    void traceEvents()
    {
        UtilsLib::Observable observable;
        tracedMethod(&observable); // nobody listens: nothing to see, nothing breaks
        EventRecorder recorder;
        observable.addObserver(&recorder);
        tracedMethod(&observable);

        QCOMPARE(recorder.events.size(), 3);
        const QStringList details = {recorder.events[0].details(), recorder.events[1].details(),
            recorder.events[2].details()};
        QCOMPARE(
            details, (QStringList {"Enter: connectToServer", "step", "Exit: connectToServer"}));
        QCOMPARE(recorder.events[0].category(), QStringLiteral("Trace"));
        QCOMPARE(recorder.events[0].severityCode(), short(9));
        QCOMPARE(recorder.events[1].category(), QStringLiteral("Info"));
        QCOMPARE(recorder.events[1].severityCode(), short(6));
        for (const ObservableEvent &event : std::as_const(recorder.events)) {
            QCOMPARE(event.senderId(), QStringLiteral("PrintClientMessager"));
            QCOMPARE(event.function(), QStringLiteral("connectToServer"));
        }
    }

    void traceLines()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        UtilsLib::TraceLineObserver observer(&buffer);
        observer.notify(
            ObservableEvent(QStringLiteral("Warning"), QStringLiteral("KoaMessageDispatcher"),
                QStringLiteral("two\nlines\\"), 2, QStringLiteral("dispatch")));
        const QString line = QString::fromUtf8(buffer.data());
        QCOMPARE(line.count(QLatin1Char('\n')), 1);
        QVERIFY(line.endsWith(
            QStringLiteral(" Warning KoaMessageDispatcher dispatch: two\\nlines\\\\\n")));
        QVERIFY(QDateTime::fromString(line.left(23), QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
                    .isValid());
    }

    void traceFileAppends()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("trace.log"));
        for (int run = 0; run < 2; ++run) {
            UtilsLib::TraceLineObserver observer(path);
            QVERIFY(observer.isOpen());
            UtilsLib::Observable observable;
            observable.addObserver(&observer);
            tracedMethod(&observable);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), 6);

        UtilsLib::TraceLineObserver unwritable(dir.filePath(QStringLiteral("missing/dir/x.log")));
        QVERIFY(!unwritable.isOpen());
        unwritable.notify(ObservableEvent());
    }
};

QTEST_GUILESS_MAIN(TestObservers)
#include "tst_observers.moc"
