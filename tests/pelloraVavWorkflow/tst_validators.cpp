#include "KoaPageCountValidator.h"
#include "KoaPasswordValidator.h"
#include "KoaPreferences.h"
#include "MessageBoxInterface.h"
#include "ScriptedPasswordDialog.h"
#include "StalloSessionInfo.h"

#include "ModalHelper.h"
#include "PrintClientDialog.h"

#include <QTest>

#include <climits>
#include <optional>

namespace {
// Preferences that hold what the platform class would fix.
class TestPreferences : public KoaPreferences
{
public:
    bool integration = true;
    int limit = 10;
    bool allowOverride = false;
    QString staffPassword;

    bool getDedicatedMode() const override { return false; }
    void saveIfDedicated() override { }
    bool isTemporaryClientAllowed() const override { return false; }
    QString getStaffPassword() const override { return staffPassword; }
    void setStaffPassword(const QString &password) override { staffPassword = password; }
    bool getStalloIntegration() const override { return integration; }
    void setStalloIntegration(bool enabled) override { integration = enabled; }
    int getStalloPageLimit() const override { return limit; }
    void setStalloPageLimit(int value) override { limit = value; }
    bool getStalloAllowOverride() const override { return allowOverride; }
    void setStalloAllowOverride(bool allowed) override { allowOverride = allowed; }
    bool getStalloId() const override { return false; }
    void setStalloId(bool) override { }
    bool getMaskUserId() const override { return false; }
    void setMaskUserId(bool) override { }
    bool getStalloUseDescription() const override { return false; }
    void setStalloUseDescription(bool) override { }
    QString getThirdPartyUserInfoPath() const override { return {}; }
    void setThirdPartyUserInfoPath(const QString &) override { }
    bool getStalloUseLanguage() const override { return false; }
    void setStalloUseLanguage(bool) override { }
    int getStalloUserCredentialsPort() const override { return 0; }
    void setStalloUserCredentialsPort(int) override { }
};

class TestSession : public StalloSessionInfo
{
public:
    bool inSession = true;
    int printed = 6;

    int getPagesPrinted() override { return printed; }
    bool getInSession() override { return inSession; }
    QString getUserId() override { return {}; }
    QString getUserPin() override { return {}; }
    QString getPcDescription(bool) override { return {}; }
    void incrementPagesPrinted(int pages) override { printed += pages; }
};

// Records what was shown, in order, as "kind|caption|text".
class FakeMessageBox : public MessageBoxInterface
{
public:
    QStringList shown;

    void showError(const QString &message, const QString &caption) override
    {
        shown << "error|" + caption + "|" + message;
    }
    void showWarning(const QString &message, const QString &caption) override
    {
        shown << "warning|" + caption + "|" + message;
    }
    void showInfo(const QString &message, const QString &caption) override
    {
        shown << "info|" + caption + "|" + message;
    }
    int showMessage(const QString &message, const QString &caption, const QPixmap &) override
    {
        shown << "message|" + caption + "|" + message;
        return 1;
    }
    bool showQuestion(const QString &message, const QString &caption) override
    {
        shown << "question|" + caption + "|" + message;
        return false;
    }
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
        TestPreferences preferences;
        preferences.integration = integration;
        preferences.limit = limit;
        preferences.allowOverride = allowOverride;
        preferences.staffPassword = staffPassword;
        TestSession session;
        session.inSession = inSession;
        ScriptedPasswordDialog dialog;
        if (typed != "<cancel>")
            dialog.answer = typed;
        KoaPasswordValidator passwordValidator(&dialog);
        FakeMessageBox box;
        KoaPageCountValidator validator(&preferences, &session, &passwordValidator, &box);
        QCOMPARE(validator.isOkToPrint(pages), prints);
        QCOMPARE(dialog.asked, asked);
        QCOMPARE(box.shown, shown);
        QCOMPARE(session.printed, 6); // the validator only reads the session
    }

    // Without a message box of its own the validator brings one for the call.
    void ownMessageBox()
    {
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
        TestPreferences preferences;
        TestSession session;
        ScriptedPasswordDialog dialog;
        KoaPasswordValidator passwordValidator(&dialog);
        KoaPageCountValidator validator(&preferences, &session, &passwordValidator, nullptr);
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
