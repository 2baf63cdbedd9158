#include "FakePreferences.h"
#include "KoaPageCountValidator.h"
#include "KoaPasswordValidator.h"
#include "RecordingMessageBox.h"
#include "ScriptedPasswordDialog.h"

#include "ModalHelper.h"
#include "PrintClientDialog.h"

#include <QTest>

#include <climits>

namespace {
// Integration on, a limit of 10, and 6 pages printed so far in the session.
struct Site
{
    Site()
    {
        preferences.stalloIntegration = true;
        preferences.pageLimit = 10;
        session.inSession = true;
        session.pagesPrinted = 6;
    }
    FakePreferences preferences;
    FakeReservationSession session;
};

const QString Warning = "warning|Warning|The printing of your document will take you over the "
                        "maximum pages allowed per session.\nYou will need approval from a staff "
                        "member to carry out this operation.";
const QString Error = "error|Error|The printing of your document is being cancelled because you "
                      "have reached the maximum pages allowed per session.\nPlease contact a "
                      "staff member for details.";
} // namespace

class TstValidators : public QObject
{
    Q_OBJECT

private slots:
    void pageLimit_data()
    {
        QTest::addColumn<bool>("integration");
        QTest::addColumn<bool>("inSession");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("allowOverride");
        QTest::addColumn<QString>("staffPassword");
        QTest::addColumn<QString>("typed"); // "<cancel>" cancels the dialog
        QTest::addColumn<bool>("prints");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QStringList>("shown");
        const QString none;
        // clang-format off
        QTest::addRow("integration off") << false << true << 10 << 50 << false << none << none << true << 0 << QStringList {};
        QTest::addRow("no reservation session") << true << false << 10 << 50 << false << none << none << true << 0 << QStringList {};
        QTest::addRow("limit 0") << true << true << 0 << 500 << false << none << none << true << 0 << QStringList {};
        QTest::addRow("under the limit") << true << true << 10 << 3 << false << none << none << true << 0 << QStringList {};
        QTest::addRow("exactly at the limit") << true << true << 10 << 4 << false << none << none << true << 0 << QStringList {};
        QTest::addRow("over by more than an int holds") << true << true << 10 << INT_MAX << false << "s3cret" << none << false << 0 << QStringList {Error};
        QTest::addRow("over, no override") << true << true << 10 << 5 << false << "s3cret" << none << false << 0 << QStringList {Error};
        QTest::addRow("over, right password") << true << true << 10 << 5 << true << "s3cret" << "s3cret" << true << 1 << QStringList {Warning};
        QTest::addRow("over, wrong password") << true << true << 10 << 5 << true << "s3cret" << "S3CRET" << false << 1 << QStringList {Warning, Error};
        QTest::addRow("over, password cancelled") << true << true << 10 << 5 << true << "s3cret" << "<cancel>" << false << 1 << QStringList {Warning, Error};
        QTest::addRow("over, no staff password") << true << true << 10 << 5 << true << none << "<cancel>" << true << 0 << QStringList {Warning};
        // clang-format on
    }
    void pageLimit()
    {
        QFETCH(bool, integration);
        QFETCH(bool, inSession);
        QFETCH(int, limit);
        QFETCH(int, pages);
        QFETCH(bool, allowOverride);
        QFETCH(QString, staffPassword);
        QFETCH(QString, typed);
        QFETCH(bool, prints);
        QFETCH(int, asked);
        QFETCH(QStringList, shown);
        Site site;
        site.preferences.stalloIntegration = integration;
        site.preferences.pageLimit = limit;
        site.preferences.allowOverride = allowOverride;
        site.preferences.staffPassword = staffPassword;
        site.session.inSession = inSession;
        ScriptedPasswordDialog dialog;
        if (typed != "<cancel>")
            dialog.answer = typed;
        KoaPasswordValidator passwordValidator(&dialog);
        RecordingMessageBox box;
        KoaPageCountValidator validator(&site.preferences, &site.session, &passwordValidator, &box);
        QCOMPARE(validator.isOkToPrint(pages), prints);
        QCOMPARE(dialog.asked, asked);
        QCOMPARE(box.shown(), shown);
        QCOMPARE(site.session.pagesPrinted, 6); // the validator only reads the session
    }

    // Without a message box of its own the validator brings one for the call.
    void ownMessageBox()
    {
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
        Site site;
        ScriptedPasswordDialog dialog;
        KoaPasswordValidator passwordValidator(&dialog);
        KoaPageCountValidator validator(
            &site.preferences, &site.session, &passwordValidator, nullptr);
        QString seen;
        whenModal([&seen](QWidget *modal) {
            auto *box = qobject_cast<PrintClientDialog *>(modal);
            QVERIFY(box);
            seen = "error|" + box->windowTitle() + "|" + box->messageText();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QVERIFY(!validator.isOkToPrint(5));
        QCOMPARE(seen, Error);
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

QTEST_MAIN(TstValidators)
#include "tst_validators.moc"
