#include "JobConfirmationDialogController.h"
#include "JobConfirmationDialogModel.h"
#include "JobConfirmationDialogView.h"
#include "ModalHelper.h"
#include "PrefixTranslator.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <QTreeWidget>

using Pickups = QList<JobConfirmationDialogModel::PickupLocation>;

namespace {
QList<QStringList> rows(const QTreeWidget *list)
{
    QList<QStringList> found;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        found.append({list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1)});
    return found;
}
} // namespace

class TstJobConfirmationDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TsBaseDialog::setDefaultTimeout(5000);
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void cleanup()
    {
        QLocale::setDefault(QLocale::c());
        QTRY_VERIFY(noVisibleWindows());
    }

    void shows_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<long>("jobNumber");
        QTest::addColumn<QString>("expireTime");
        QTest::addColumn<Pickups>("pickups");
        QTest::addColumn<QString>("jobText");
        QTest::addColumn<bool>("expireShown");
        QTest::addColumn<QString>("expireText");

        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const Pickups two {{"Terminal 1", "Main floor"}, {"Desk", "Second floor"}};
        // clang-format off
        QTest::addRow("job 1234, no expiry") << us << 1234L << "" << Pickups {}
            << "Job Number: 1234" << false << "";
        QTest::addRow("ISO expiry, German format") << de << 1042L << "2026-12-09T17:30:00" << two
            << "Job Number: 1042" << true << "Expire Time: 09.12.26 17:30";
        QTest::addRow("ISO expiry, US format") << us << 7L << "2026-12-09T07:05:00" << two
            << "Job Number: 7" << true << "Expire Time: 12/9/26 7:05 AM";
        QTest::addRow("no ISO expiry") << us << 7L << "tomorrow 5pm" << Pickups {{"Desk", ""}}
            << "Job Number: 7" << true << "Expire Time: ";
        QTest::addRow("no job number") << us << -1L << "" << two
            << "Job Number: -1" << false << "";
        // clang-format on
    }
    void shows()
    {
        QFETCH(QLocale, locale);
        QFETCH(long, jobNumber);
        QFETCH(QString, expireTime);
        QFETCH(Pickups, pickups);
        QLocale::setDefault(locale);
        JobConfirmationDialogModel model;
        model.setJobNumber(jobNumber);
        model.setExpireTime(expireTime);
        model.setPickupLocations(pickups);
        JobConfirmationDialogView view(nullptr);
        JobConfirmationDialogController controller(&model, &view, 0);
        view.setController(&controller);

        QCOMPARE(view.windowTitle(), QStringLiteral("Print Complete"));
        QCOMPARE(view.confirmationText(), QStringLiteral("Your job has been received."));
        QTEST(view.jobNumberText(), "jobText");
        auto *expire = view.findChild<QLabel *>(QStringLiteral("ExpireTimeLabel"));
        QVERIFY(expire);
        QTEST(expire->isVisibleTo(&view), "expireShown");
        if (expire->isVisibleTo(&view))
            QTEST(view.expireTimeText(), "expireText");

        auto *list = view.findChild<QTreeWidget *>(QStringLiteral("PickupListView"));
        QVERIFY(list);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Release Terminal"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Location"));
        QList<QStringList> expected;
        for (const auto &pickup : std::as_const(pickups))
            expected.append({pickup.first, pickup.second});
        QCOMPARE(rows(list), expected);
        // Every redraw refills the list.
        view.redrawText();
        view.redrawText();
        QCOMPARE(rows(list), expected);

        auto *ok = view.findChild<QPushButton *>(QStringLiteral("userIdDialog_OkBtn"));
        QVERIFY(ok && ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        // What a screen reader announces.
        for (QWidget *control : {static_cast<QWidget *>(ok), static_cast<QWidget *>(list),
                 view.findChild<QWidget *>(QStringLiteral("ConfirmationLabel")),
                 view.findChild<QWidget *>(QStringLiteral("JobNumberLabel")),
                 static_cast<QWidget *>(expire)})
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        QCOMPARE(list->accessibleName(), QStringLiteral("Pickup Locations"));
    }

    void languageChangeRelabels()
    {
        JobConfirmationDialogModel model;
        model.setJobNumber(5);
        model.setPickupLocations({{"Terminal 1", "Main floor"}, {"Desk", "Lobby"}});
        JobConfirmationDialogView view(nullptr);
        JobConfirmationDialogController controller(&model, &view, 0);
        view.setController(&controller);

        PrefixTranslator viewTexts("JobConfirmationDialogView", QStringLiteral("fr:"));
        PrefixTranslator controllerTexts("JobConfirmationDialogController", QStringLiteral("es:"));
        QVERIFY(QCoreApplication::installTranslator(&viewTexts));
        QVERIFY(QCoreApplication::installTranslator(&controllerTexts));
        view.redrawText();
        QCoreApplication::removeTranslator(&viewTexts);
        QCoreApplication::removeTranslator(&controllerTexts);

        auto *list = view.findChild<QTreeWidget *>(QStringLiteral("PickupListView"));
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("fr:Release Terminal"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("fr:Location"));
        QCOMPARE(list->accessibleName(), QStringLiteral("fr:Pickup Locations"));
        QCOMPARE(view.windowTitle(), QStringLiteral("es:Print Complete"));
        QCOMPARE(view.jobNumberText(), QStringLiteral("es:Job Number: 5"));
        QCOMPARE(
            rows(list), (QList<QStringList> {{"Terminal 1", "Main floor"}, {"Desk", "Lobby"}}));
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::addRow("OK") << "ok" << 1;
        QTest::addRow("Return on the dialog") << "return" << 1;
        QTest::addRow("Return in the pickup list") << "return in list" << 1;
        QTest::addRow("Enter on the keypad") << "enter" << 1;
        QTest::addRow("Escape") << "escape" << 0;
        QTest::addRow("timeout") << "" << 0;
    }
    void closes()
    {
        QFETCH(QString, how);
        JobConfirmationDialogModel model;
        model.setJobNumber(9);
        model.setPickupLocations({{"Desk", "Lobby"}});
        JobConfirmationDialogView view(nullptr);
        JobConfirmationDialogController controller(&model, &view, how.isEmpty() ? 200 : 0);
        QCOMPARE(controller.timeout(), how.isEmpty() ? 200L : 0L);
        if (!how.isEmpty()) {
            whenModal([how](QWidget *modal) {
                auto *list = modal->findChild<QTreeWidget *>(QStringLiteral("PickupListView"));
                if (how == QLatin1String("ok"))
                    modal->findChild<QPushButton *>(QStringLiteral("userIdDialog_OkBtn"))->click();
                else if (how == QLatin1String("return"))
                    QTest::keyClick(modal, Qt::Key_Return);
                else if (how == QLatin1String("return in list"))
                    QTest::keyClick(list, Qt::Key_Return);
                else if (how == QLatin1String("enter"))
                    QTest::keyClick(modal, Qt::Key_Enter, Qt::KeypadModifier);
                else
                    QTest::keyClick(list, Qt::Key_Escape);
            });
        }
        QTEST(controller.showDialog(), "result");
        QCOMPARE(view.jobNumberText(), QStringLiteral("Job Number: 9"));
        QVERIFY(!view.isVisible());
    }
};

QTEST_MAIN(TstJobConfirmationDialog)
#include "tst_jobconfirmationdialog.moc"
