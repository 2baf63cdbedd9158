#include "TsSingleApplication.h"
#include "TsSingleInstanceGuard.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <unistd.h>

class tst_TsSingleApplication : public QObject
{
    Q_OBJECT

private slots:
    void laterStartFindsItRunningAndActivatesWindow();
};

void tst_TsSingleApplication::laterStartFindsItRunningAndActivatesWindow()
{
    auto *app = qobject_cast<TsSingleApplication *>(QCoreApplication::instance());
    QVERIFY(app);
    QVERIFY(!app->isRunning());
    QVERIFY(app->initialize(true));
    QSignalSpy received(app, &TsSingleApplication::messageReceived);

    QWidget window;
    app->setActivationWindow(&window, false);
    TsSingleInstanceGuard laterStart(TsSingleInstanceGuard::sessionKey(app->id()));
    QVERIFY(laterStart.isRunning());

    QVERIFY(laterStart.sendMessage(QStringLiteral("ping")));
    QTRY_COMPARE(received.size(), 1);
    QVERIFY(window.isHidden());

    app->setActivationWindow(&window, true);
    window.showMinimized();
    QVERIFY(laterStart.sendMessage(QString()));
    QTRY_COMPARE(received.size(), 2);
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());
}

int main(int argc, char **argv)
{
    TsSingleApplication app(
        QStringLiteral("tst_TsSingleApplication-%1").arg(::getpid()), argc, argv);
    tst_TsSingleApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tssingleapplication.moc"
