#include "KoaMainWindow.h"
#include "KoaMainWindowController.h"
#include "KoaPasswordValidator.h"
#include "ScriptedPasswordDialog.h"

#include "FakePreferences.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <optional>

namespace {
class StaffPreferences : public FakePreferences
{
public:
    QString staffPassword;
    QString getStaffPassword() const override { return staffPassword; }
};

constexpr int STILL_RUNNING = 7;

// The application's exit code after action: 0 when it quit, STILL_RUNNING
// when it was still running a moment later.
int exitCodeAfter(const std::function<void()> &action)
{
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(
        &stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(STILL_RUNNING); });
    QTimer::singleShot(0, qApp, [&] {
        action();
        stillRunning.start(50);
    });
    return QApplication::exec();
}
} // namespace

class TstMainWindowController : public QObject
{
    Q_OBJECT

private slots:
    void stopClient_data()
    {
        QTest::addColumn<bool>("dedicated");
        QTest::addColumn<QString>("staffPassword");
        QTest::addColumn<QString>("typed"); // "<cancel>" cancels the dialog
        QTest::addColumn<bool>("quits");
        QTest::addColumn<int>("asked");

        // clang-format off
        QTest::addRow("shared, quits at once")        << false << "s3cret" << "<cancel>" << true  << 0;
        QTest::addRow("dedicated, no staff password") << true  << ""       << "<cancel>" << true  << 0;
        QTest::addRow("dedicated, right password")    << true  << "s3cret" << "s3cret"   << true  << 1;
        QTest::addRow("dedicated, wrong password")    << true  << "s3cret" << "S3CRET"   << false << 1;
        QTest::addRow("dedicated, empty password")    << true  << "s3cret" << ""         << false << 1;
        QTest::addRow("dedicated, cancelled")         << true  << "s3cret" << "<cancel>" << false << 1;
        // clang-format on
    }

    // The stop button, as a user presses it, through the real controller and
    // the staff password validator.
    void stopClient()
    {
        QFETCH(bool, dedicated);
        QFETCH(QString, staffPassword);
        QFETCH(QString, typed);
        QFETCH(bool, quits);
        QFETCH(int, asked);

        StaffPreferences preferences;
        preferences.dedicated = dedicated;
        preferences.staffPassword = staffPassword;
        ScriptedPasswordDialog dialog;
        if (typed != QLatin1String("<cancel>"))
            dialog.answer = typed;
        KoaPasswordValidator validator(&dialog);
        KoaMainWindow window(dedicated);
        KoaMainWindowController controller(&window, &validator, &preferences);
        QCOMPARE(controller.isDedicated(), dedicated);

        bool stopped = false;
        const int code = exitCodeAfter([&] {
            connect(window.stopButton(), &QPushButton::clicked, [&] { stopped = true; });
            QTest::mouseClick(window.stopButton(), Qt::LeftButton);
        });
        QVERIFY(stopped);
        QCOMPARE(code, quits ? 0 : STILL_RUNNING);
        QCOMPARE(dialog.asked, asked);
    }

    // Without a controller (before start-up made one, after it went) nobody
    // may stop the client from the window.
    void noControllerNoStop()
    {
        StaffPreferences preferences;
        ScriptedPasswordDialog dialog;
        KoaPasswordValidator validator(&dialog);
        KoaMainWindow window(false);
        {
            KoaMainWindowController controller(&window, &validator, &preferences);
        }
        QCOMPARE(exitCodeAfter([&] { QVERIFY(!window.stopClient()); }), STILL_RUNNING);
    }
};

QTEST_MAIN(TstMainWindowController)
#include "tst_mainwindowcontroller.moc"
