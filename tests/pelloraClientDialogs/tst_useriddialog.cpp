#include "FakePreferences.h"
#include "ModalHelper.h"
#include "UserIdDialogController.h"
#include "UserIdDialogModel.h"
#include "UserIdDialogView.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Counts the refused keys instead of beeping.
class CountingView : public UserIdDialogView
{
public:
    using UserIdDialogView::UserIdDialogView;
    int beeps = 0;

protected:
    void beep() override { ++beeps; }
};

QLineEdit *field(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(QLatin1String(name));
}
} // namespace

class TstUserIdDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { TsBaseDialog::setDefaultTimeout(150); }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void typing_data();
    void typing();
    void whereTheIdentityComesFrom_data();
    void whereTheIdentityComesFrom();
    void keyboardAlone_data();
    void keyboardAlone();
};

void TstUserIdDialog::typing_data()
{
    QTest::addColumn<bool>("pin");
    QTest::addColumn<QString>("filterExceptions"); // null: no filter
    QTest::addColumn<QString>("typedId");
    QTest::addColumn<QString>("typedPin");
    QTest::addColumn<QString>("shownId");
    QTest::addColumn<bool>("okEnabled");
    QTest::addColumn<int>("beeps");
    // clang-format off
    QTest::addRow("capitals, cursor after") << true << QString() << "ab" << "1" << "AB" << true << 0;
    QTest::addRow("blank-only ID") << true << QString() << "   " << "1" << "   " << false << 0;
    QTest::addRow("PIN missing") << true << QString() << "ab" << "" << "AB" << false << 0;
    QTest::addRow("blank PIN") << true << QString() << "ab" << "  " << "AB" << false << 0;
    QTest::addRow("no PIN asked: ID alone") << false << QString() << "ab" << "" << "AB" << true << 0;
    QTest::addRow("filter with exception -") << false << "-" << "a1-!" << "" << "A1-" << true << 1;
    QTest::addRow("no filter lets ! through") << false << QString() << "a!" << "" << "A!" << true << 0;
    // clang-format on
}

void TstUserIdDialog::typing()
{
    QFETCH(bool, pin);
    QFETCH(QString, filterExceptions);
    QFETCH(QString, typedId);
    QFETCH(QString, typedPin);
    QFETCH(QString, shownId);

    FakePreferences preferences;
    preferences.enableUserIdInputFilter(!filterExceptions.isNull(), filterExceptions);
    UserIdDialogModel model(pin, false);
    UserIdDialogController controller(&model, &preferences, nullptr, 45);
    CountingView view(nullptr, &controller);
    view.show();
    QLineEdit *id = field(&view, "userIdDialog_UserIdEntry");
    QCOMPARE(field(&view, "userIdDialog_PinEntry") != nullptr, pin);
    QCOMPARE(view.passwordLabelText().isEmpty(), !pin);
    QTest::keyClicks(id, typedId);
    if (pin)
        QTest::keyClicks(field(&view, "userIdDialog_PinEntry"), typedPin);
    QCOMPARE(id->text(), shownId);
    QCOMPARE(id->cursorPosition(), int(shownId.size()));
    QTEST(view.findChild<QPushButton *>(QStringLiteral("userIdDialog_OkBtn"))->isEnabled(),
        "okEnabled");
    QTEST(view.beeps, "beeps");
    // Return accepts exactly when OK could be pressed.
    QTest::keyClick(id, Qt::Key_Return);
    QFETCH(bool, okEnabled);
    QCOMPARE(view.result(), okEnabled ? 1 : 0);
    QCOMPARE(model.userId(), okEnabled ? shownId : QString());
    view.hide();
}

void TstUserIdDialog::whereTheIdentityComesFrom_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no file named
    QTest::addColumn<bool>("inSession");
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<QString>("userId");
    QTest::addColumn<QString>("pin");
    // clang-format off
    QTest::addRow("identity file first") << QByteArray("EXT7\r\nother\n") << true << false << "EXT7" << "rpin";
    QTest::addRow("empty first line: reservation session") << QByteArray("\nEXT7\n") << true << false << "RES1" << "rpin";
    QTest::addRow("empty first line, no session: dialog") << QByteArray("\nEXT7\n") << false << true << "TYPED" << "9";
    QTest::addRow("unreadable file: dialog") << QByteArray() << false << true << "TYPED" << "9";
    // clang-format on
}

void TstUserIdDialog::whereTheIdentityComesFrom()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, inSession);
    QFETCH(bool, dialogShown);

    QTemporaryDir dir;
    FakePreferences preferences;
    preferences.identityFile = dir.filePath(QStringLiteral("identity.txt"));
    if (!file.isNull()) {
        QFile out(preferences.identityFile);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    preferences.stalloIntegration = true;
    preferences.stalloId = true;
    FakeReservationSession reservation;
    reservation.inSession = inSession;
    reservation.userId = QStringLiteral("RES1");
    reservation.userPin = QStringLiteral("rpin");

    UserIdDialogModel model(true, false);
    UserIdDialogController controller(&model, &preferences, &reservation, 45);
    UserIdDialogView view(nullptr, &controller);
    // Armed only where the dialog is due: a dialog that opens anyway times
    // out, and the identity then differs.
    bool shown = false;
    if (dialogShown)
        whenModal([&shown](QWidget *modal) {
            shown = true;
            QTest::keyClicks(field(modal, "userIdDialog_UserIdEntry"), QStringLiteral("typed"));
            QTest::keyClicks(field(modal, "userIdDialog_PinEntry"), QStringLiteral("9"));
            QTest::keyClick(modal->focusWidget(), Qt::Key_Enter);
        });
    QVERIFY(controller.getUserInput());
    QCOMPARE(shown, dialogShown);
    QTEST(model.userId(), "userId");
    QTEST(model.userPassword(), "pin");
}

void TstUserIdDialog::keyboardAlone_data()
{
    QTest::addColumn<int>("how"); // 0 Tab and type, Return; 1 Cancel; 2 Escape; 3 timeout
    QTest::addColumn<bool>("accepted");
    QTest::addRow("Tab to the PIN, Return") << 0 << true;
    QTest::addRow("Cancel") << 1 << false;
    QTest::addRow("Escape") << 2 << false;
    QTest::addRow("timeout") << 3 << false;
}

void TstUserIdDialog::keyboardAlone()
{
    QFETCH(int, how);
    QFETCH(bool, accepted);

    FakePreferences preferences;
    preferences.maskUserId = true;
    UserIdDialogModel model(true, true);
    model.setUserId(QStringLiteral("BEFORE"));
    model.setUserPassword(QStringLiteral("old"));
    UserIdDialogController controller(&model, &preferences, nullptr, 45);
    UserIdDialogView view(nullptr, &controller);
    QCOMPARE(field(&view, "userIdDialog_UserIdEntry")->echoMode(), QLineEdit::Password);
    QCOMPARE(view.guestMessageText(), QString::fromLatin1(UserIdDialogView::GUEST_MESSAGE_TEXT));
    for (QWidget *control : view.findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(control) || qobject_cast<QPushButton *>(control)) {
            if (control->isVisibleTo(&view))
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }
    }
    QString focusedFirst;
    whenModal([&](QWidget *modal) {
        if (!modal->focusWidget()) {
            modal->close();
            return;
        }
        focusedFirst = modal->focusWidget()->objectName();
        QTest::keyClicks(modal->focusWidget(), QStringLiteral("kb"));
        QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(modal->focusWidget(), QStringLiteral("42"));
        if (how == 0)
            QTest::keyClick(modal->focusWidget(), Qt::Key_Return);
        else if (how == 1)
            modal->findChild<QPushButton *>(QStringLiteral("userIdDialog_CancelBtn"))->click();
        else if (how == 2)
            QTest::keyClick(modal->focusWidget(), Qt::Key_Escape);
    });
    QCOMPARE(controller.getUserInput(), accepted);
    QCOMPARE(focusedFirst, QStringLiteral("userIdDialog_UserIdEntry"));
    QCOMPARE(model.userId(), accepted ? QStringLiteral("KB") : QStringLiteral("BEFORE"));
    QCOMPARE(model.userPassword(), accepted ? QStringLiteral("42") : QStringLiteral("old"));
}

QTEST_MAIN(TstUserIdDialog)
#include "tst_useriddialog.moc"
