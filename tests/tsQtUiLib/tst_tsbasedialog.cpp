#include "ChangeLanguageButton.h"
#include "CopyrightLabel.h"
#include "KeyboardInputFilter.h"
#include "LanguageChangerInterface.h"
#include "LanguageSelectorExtension.h"
#include "LanguageSelectorExtensionItem.h"
#include "ModalHelper.h"
#include "TsBaseDialog.h"
#include "VersionInfoInterface.h"

#include <QApplication>
#include <QBoxLayout>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
class TestDialog : public TsBaseDialog
{
public:
    explicit TestDialog(
        int timeoutSeconds = 0, bool languageButton = true, QWidget *parent = nullptr)
        : TsBaseDialog(parent, timeoutSeconds, languageButton, true, 5, titledWindowFlags())
    {
        auto *layout = new QVBoxLayout;
        edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("edit"));
        layout->addWidget(edit);
        setMainLayout(layout);
    }
    void redrawText() override { ++redraws; }
    void beep() override { ++beeps; }

    QLineEdit *edit;
    int redraws = 0;
    int beeps = 0;
};

class RefuseX : public KeyboardInputFilter
{
public:
    bool keyIsAllowed(int key) const override { return key != Qt::Key_X; }
};

class FakeChanger : public LanguageChangerInterface
{
public:
    int changeLanguage(const QString &code) override
    {
        codes << code;
        return result;
    }
    int result = 4;
    QStringList codes;
};

// Content that wants more room than it must have.
class Roomy : public QWidget
{
public:
    explicit Roomy(QSize hint)
        : m_hint(hint)
    {
        setMinimumSize(50, 50);
    }
    QSize sizeHint() const override { return m_hint; }

private:
    QSize m_hint;
};

const TsBaseDialog::LanguageList twoLanguages {
    {QStringLiteral("English"), QStringLiteral("Close Language Options")},
    {QStringLiteral("Español"), QStringLiteral("Cerrar las opciones de idioma")}};
} // namespace

class TstTsBaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TsBaseDialog::setDefaultTimeout(-1);
        TsBaseDialog::setLanguageList({});
        TsBaseDialog::setLanguageMap({});
        TsBaseDialog::setLanguageChanger(nullptr);
        TsBaseDialog::setLanguageCode(QString());
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void timeoutArithmetic_data()
    {
        QTest::addColumn<int>("defaultTimeout");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("setTimeoutMs");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("tracking");
        const int keep = INT_MIN;
        QTest::addRow("30 s") << -1 << 30 << keep << 30000 << true;
        QTest::addRow("-7 s is never") << 45000 << -7 << keep << -1 << false;
        QTest::addRow("0 s without default") << -1 << 0 << keep << -1 << false;
        QTest::addRow("0 s with default") << 45000 << 0 << keep << 45000 << true;
        QTest::addRow("setTimeout(-5)") << 45000 << 30 << -5 << -1 << true;
        QTest::addRow("setTimeout(0) falls back") << 45000 << 30 << 0 << 45000 << true;
        QTest::addRow("setTimeout(250)") << -1 << 0 << 250 << 250 << false;
    }
    void timeoutArithmetic()
    {
        QFETCH(int, defaultTimeout);
        QFETCH(int, seconds);
        QFETCH(int, setTimeoutMs);
        QFETCH(int, expected);
        QFETCH(bool, tracking);
        TsBaseDialog::setDefaultTimeout(defaultTimeout);
        TestDialog dialog(seconds);
        QCOMPARE(dialog.hasMouseTracking(), tracking);
        if (setTimeoutMs != INT_MIN)
            dialog.setTimeout(setTimeoutMs);
        QCOMPARE(dialog.timeout(), expected);
        dialog.startTimer();
        QCOMPARE(dialog.isTimerRunning(), expected > 0);
    }

    void inactivityEndsTheDialog()
    {
        TestDialog dialog;
        dialog.setTimeout(100);
        QCOMPARE(dialog.exec(), 0);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.isTimerRunning());
    }

    void activityRestartsTheTimer_data()
    {
        QTest::addColumn<bool>("useKey");
        QTest::addRow("key press") << true;
        QTest::addRow("mouse move") << false;
    }
    void activityRestartsTheTimer()
    {
        QFETCH(bool, useKey);
        TestDialog dialog;
        dialog.setTimeout(4000);
        bool restarted = false;
        int result = -1;
        whenModal([&](QWidget *) {
            // Let part of the interval pass, then touch the dialog.
            QVERIFY(QTest::qWaitFor([&] { return dialog.remainingTimeout() < 3700; }));
            if (useKey)
                QTest::keyClick(dialog.edit, Qt::Key_A);
            else
                QTest::mouseMove(dialog.edit, QPoint(3, 3));
            restarted = dialog.remainingTimeout() > 3800;
            QTest::keyClick(dialog.edit, Qt::Key_Escape);
        });
        result = dialog.exec();
        QVERIFY(restarted);
        QCOMPARE(result, 0);
    }

    void escapeRejects_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addRow("no timeout") << -1;
        QTest::addRow("with timeout") << 30;
    }
    void escapeRejects()
    {
        QFETCH(int, seconds);
        TestDialog dialog(seconds);
        whenModal([&](QWidget *) { QTest::keyClick(dialog.edit, Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), 0);
    }

    void refusedKeyBeepsAndIsDropped()
    {
        TestDialog dialog;
        dialog.setTimeout(4000);
        dialog.installKeyboardInputFilter(dialog.edit, std::make_unique<RefuseX>());
        bool notRestarted = false;
        bool allowedRestarted = false;
        whenModal([&](QWidget *) {
            QVERIFY(QTest::qWaitFor([&] { return dialog.remainingTimeout() < 3700; }));
            QTest::keyClick(dialog.edit, Qt::Key_X);
            notRestarted = dialog.remainingTimeout() < 3750;
            QTest::keyClick(dialog.edit, Qt::Key_Y);
            allowedRestarted = dialog.remainingTimeout() > 3800;
            dialog.reject();
        });
        dialog.exec();
        QCOMPARE(dialog.beeps, 1);
        QCOMPARE(dialog.edit->text(), QStringLiteral("y"));
        QVERIFY(notRestarted);
        QVERIFY(allowedRestarted);

        // A null filter lifts the filtering.
        dialog.installKeyboardInputFilter(dialog.edit, nullptr);
        QVERIFY(dialog.keyIsAllowed(dialog.edit, Qt::Key_X));
    }

    void abortTimeout_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("closes");
        QTest::addRow("with timeout") << 30 << true;
        QTest::addRow("without timeout") << -1 << false;
    }
    void abortTimeout()
    {
        QFETCH(int, seconds);
        QFETCH(bool, closes);
        TestDialog dialog(seconds);
        dialog.setResult(5);
        dialog.show();
        QEvent abort(QEvent::Type(TsBaseDialog::ABORT_TIMEOUT));
        QCoreApplication::sendEvent(&dialog, &abort);
        QCOMPARE(dialog.isVisible(), !closes);
        QCOMPARE(dialog.result(), closes ? 0 : 5);
        dialog.hide();
    }

    void inputMethodBlocking()
    {
        TestDialog dialog;
        dialog.show();
        QInputMethodEvent compose(QStringLiteral("é"), {});
        QCoreApplication::sendEvent(&dialog, &compose);
        QCOMPARE(dialog.beeps, 0);
        dialog.blockInputMethodEntry();
        QInputMethodEvent again(QStringLiteral("é"), {});
        QVERIFY(QCoreApplication::sendEvent(&dialog, &again));
        QCOMPARE(dialog.beeps, 1);
        dialog.unblockInputMethodEntry();
        dialog.hide();
    }

    void positioning_data()
    {
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<int>("childY");
        QTest::addColumn<QPoint>("expected");
        QTest::addRow("centred") << QRect(0, 0, 1024, 768) << -1 << QPoint(212, 184);
        QTest::addRow("child y") << QRect(0, 0, 1024, 768) << 50 << QPoint(212, 50);
        QTest::addRow("odd room truncates") << QRect(0, 0, 1025, 769) << -1 << QPoint(212, 184);
        QTest::addRow("offset desktop") << QRect(100, 20, 1024, 768) << -1 << QPoint(312, 204);
    }
    void positioning()
    {
        QFETCH(QRect, desktop);
        QFETCH(int, childY);
        QFETCH(QPoint, expected);
        TsBaseDialog::setDesktopGeometry(desktop);
        TestDialog dialog(-1, false);
        dialog.setFixedSize(600, 400);
        if (childY >= 0)
            dialog.setChildDialogY(childY);
        dialog.positionDialog();
        QCOMPARE(dialog.pos(), expected);
    }

    // A dialog gets all the room it asks for, also past two thirds of the
    // screen where QWidget::adjustSize() stops, but never more than the desktop.
    void sizedToItsHintWithinTheDesktop_data()
    {
        QTest::addColumn<QSize>("content");
        QTest::addColumn<bool>("bounded");
        QTest::addRow("small") << QSize(300, 200) << false;
        QTest::addRow("past two thirds of the screen") << QSize(700, 500) << false;
        QTest::addRow("past the desktop") << QSize(1500, 900) << true;
    }
    void sizedToItsHintWithinTheDesktop()
    {
        QFETCH(QSize, content);
        QFETCH(bool, bounded);
        TestDialog dialog(-1, false);
        dialog.layout()->addWidget(new Roomy(content));
        dialog.positionDialog();
        const QSize desktop(1024, 768);
        QCOMPARE(dialog.size(), bounded ? desktop : dialog.sizeHint());
        QVERIFY(dialog.width() >= content.width() || bounded);
    }

    void showRedrawsAndPlaces()
    {
        TestDialog dialog(-1, false);
        dialog.setFixedSize(600, 400);
        dialog.show();
        QVERIFY(dialog.redraws >= 1);
        // Shown, the window frame counts.
        const QRect frame = dialog.frameGeometry();
        QCOMPARE(frame.topLeft(), QPoint((1024 - frame.width()) / 2, (768 - frame.height()) / 2));
        dialog.hide();
    }

    void languageButtonVisibility_data()
    {
        QTest::addColumn<int>("languages");
        QTest::addColumn<bool>("requested");
        QTest::addColumn<bool>("shown");
        QTest::addRow("one language") << 1 << true << false;
        QTest::addRow("two languages") << 2 << true << true;
        QTest::addRow("two, not requested") << 2 << false << false;
    }
    void languageButtonVisibility()
    {
        QFETCH(int, languages);
        QFETCH(bool, requested);
        QFETCH(bool, shown);
        TsBaseDialog::setLanguageList(twoLanguages.mid(0, languages));
        TestDialog dialog(-1, requested);
        QCOMPARE(!dialog.changeLanguageButton()->isHidden(), shown);
        QVERIFY(!dialog.copyrightLabel()->isHidden());
    }

    void languageButtonCycles()
    {
        ChangeLanguageButton button(nullptr, twoLanguages, 2500);
        QCOMPARE(button.text(), QStringLiteral("English"));
        // Tab reaches it; a tap leaves the focus in the field being typed in.
        QCOMPARE(button.focusPolicy(), Qt::TabFocus);
        button.cycle();
        QCOMPARE(button.text(), QStringLiteral("Español"));
        button.cycle();
        QCOMPARE(button.text(), QStringLiteral("English"));
        // Opening the selector shows the next entry's close text at once.
        button.setToggleMode(true);
        QCOMPARE(button.text(), QStringLiteral("Cerrar las opciones de idioma"));
        button.setToggleMode(false);
        QCOMPARE(button.text(), QStringLiteral("English"));
        const int widest = button.fontMetrics().horizontalAdvance(twoLanguages[1].second) + 24;
        QVERIFY(button.minimumWidth() >= widest);
    }

    void languageButtonTimerCycles()
    {
        ChangeLanguageButton button(nullptr, twoLanguages, 20);
        button.show();
        QTRY_COMPARE(button.text(), QStringLiteral("Español"));
        QTRY_COMPARE(button.text(), QStringLiteral("English"));
    }

    // The client keeps its dialogs between jobs: hidden, they must not wake it.
    void rotatingTextsRunOnlyWhileShown()
    {
        QWidget dialog;
        auto *button = new ChangeLanguageButton(&dialog, twoLanguages, 20);
        auto *label = new CopyrightLabel(&dialog);
        QCOMPARE(button->timerId(), 0);
        QCOMPARE(label->timerId(), 0);
        QTest::qWait(60);
        QCOMPARE(button->text(), QStringLiteral("English"));

        dialog.show();
        QVERIFY(button->timerId() != 0);
        QVERIFY(label->timerId() != 0);
        QTRY_COMPARE(button->text(), QStringLiteral("Español"));

        dialog.hide();
        QCOMPARE(button->timerId(), 0);
        QCOMPARE(label->timerId(), 0);
        dialog.show();
        QVERIFY(button->timerId() != 0);
        QVERIFY(label->timerId() != 0);
    }

    void selectorOpensBesideAndCloses()
    {
        TsBaseDialog::setLanguageList(twoLanguages);
        TsBaseDialog::setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
            {QStringLiteral("ES_US"), QStringLiteral("Español")}});
        TestDialog dialog(-1, true);
        dialog.show();
        const int width = dialog.width();
        const int height = dialog.height();
        dialog.changeLanguageButton()->click();
        LanguageSelectorExtension *selector = dialog.extension();
        QVERIFY(selector);
        QVERIFY(selector->isVisible());
        QCOMPARE(selector->height(), height);
        QVERIFY(selector->x() >= width - 1);
        QVERIFY(dialog.changeLanguageButton()->toggleMode());
        QCOMPARE(selector->count(), 2);

        dialog.changeLanguageButton()->click();
        QVERIFY(!selector->isVisible());
        QVERIFY(!dialog.changeLanguageButton()->toggleMode());
        QTRY_COMPARE(dialog.width(), width);
        dialog.hide();
    }

    void languageChange_data()
    {
        QTest::addColumn<int>("changerResult");
        QTest::addColumn<bool>("applied");
        QTest::addRow("changed") << 4 << true;
        QTest::addRow("changer refuses with 0") << 0 << false;
    }
    void languageChange()
    {
        QFETCH(int, changerResult);
        QFETCH(bool, applied);
        FakeChanger changer;
        changer.result = changerResult;
        TsBaseDialog::setLanguageChanger(&changer);
        TsBaseDialog::setLanguageList(twoLanguages);
        TsBaseDialog::setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
            {QStringLiteral("ES_US"), QStringLiteral("Español")}});
        TestDialog dialog(-1, true);
        auto *child = new TestDialog(-1, false, &dialog);
        dialog.show();
        dialog.toggleExtension();
        const int redraws = dialog.redraws;

        auto *item = dialog.extension()->item(1);
        emit dialog.extension()->itemClicked(item);

        QCOMPARE(changer.codes, QStringList {QStringLiteral("ES_US")});
        QVERIFY(!dialog.extension()->isVisible());
        QCOMPARE(TsBaseDialog::languageCode(), applied ? QStringLiteral("ES_US") : QString());
        QCOMPARE(dialog.redraws > redraws, applied);
        QCOMPARE(child->redraws > 0, applied);
        dialog.hide();
    }

    // A patron without a pointer reaches the button by Tab, picks from the list
    // with the arrows, or leaves it with Escape without losing the dialog.
    void selectorByKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("chosen");
        QTest::addRow("Return picks") << int(Qt::Key_Return) << QStringList {"ES_US"};
        QTest::addRow("Space picks") << int(Qt::Key_Space) << QStringList {"ES_US"};
        QTest::addRow("Escape leaves the selector") << int(Qt::Key_Escape) << QStringList {};
    }
    void selectorByKeyboard()
    {
        QFETCH(int, key);
        QFETCH(QStringList, chosen);
        FakeChanger changer;
        TsBaseDialog::setLanguageChanger(&changer);
        TsBaseDialog::setLanguageList(twoLanguages);
        TsBaseDialog::setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
            {QStringLiteral("ES_US"), QStringLiteral("Español")}});
        TsBaseDialog::setLanguageCode(QStringLiteral("EN_US"));
        TestDialog dialog(-1, true);
        int result = -1;
        whenModal([&](QWidget *) {
            // A failed check returns early; the dialog must still end.
            const auto close = qScopeGuard([&] { dialog.done(7); });
            dialog.edit->setFocus();
            QTest::keyClick(dialog.edit, Qt::Key_Backtab);
            ChangeLanguageButton *button = dialog.changeLanguageButton();
            QCOMPARE(QApplication::focusWidget(), button);
            QCOMPARE(button->accessibleName(), QStringLiteral("Change Language"));
            QTest::keyClick(button, Qt::Key_Space);
            LanguageSelectorExtension *selector = dialog.extension();
            QVERIFY(selector && selector->isVisible());
            QCOMPARE(QApplication::focusWidget(), selector);
            QCOMPARE(selector->currentRow(), 0);
            QCOMPARE(button->accessibleName(), QStringLiteral("Close Language Options"));
            QTest::keyClick(selector, Qt::Key_Down);
            QTest::keyClick(selector, Qt::Key(key));
            QVERIFY(!selector->isVisible());
            QVERIFY(dialog.isVisible());
            QCOMPARE(QApplication::focusWidget(), button);
        });
        result = dialog.exec();
        QCOMPARE(result, 7);
        QCOMPARE(changer.codes, chosen);
    }

    void languageChangeWithoutChanger()
    {
        TestDialog dialog(-1, false);
        dialog.languageChange(QStringLiteral("FR_CA"));
        QCOMPARE(TsBaseDialog::languageCode(), QString());
        // A direct call does not open the selector.
        QVERIFY(!dialog.extension());
    }

    void languageOverrides_data()
    {
        // clang-format off
        QTest::addColumn<QString>("dialect");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("close");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<QString>("expectedClose");
        const QString close = twoLanguages[1].second;
        QTest::addRow("missing dialect")
            << "FR_CA" << "Français" << "Fermer" << false << "Español" << close;
        QTest::addRow("name not in list")
            << "XX_XX" << "Other" << "" << false << "Español" << close;
        QTest::addRow("name and close")
            << "ES_US" << "Castellano" << "Cerrar" << true << "Castellano" << "Cerrar";
        QTest::addRow("empty close keeps close")
            << "ES_US" << "Castellano" << "" << true << "Castellano" << close;
        QTest::addRow("empty name keeps name")
            << "ES_US" << "" << "Cerrar" << true << "Español" << "Cerrar";
        // clang-format on
    }
    void languageOverrides()
    {
        QFETCH(QString, dialect);
        QFETCH(QString, name);
        QFETCH(QString, close);
        QFETCH(bool, result);
        QFETCH(QString, expectedName);
        QFETCH(QString, expectedClose);
        TsBaseDialog::setLanguageList(twoLanguages);
        TsBaseDialog::setLanguageMap({{QStringLiteral("EN_US"), QStringLiteral("English")},
            {QStringLiteral("ES_US"), QStringLiteral("Español")},
            {QStringLiteral("XX_XX"), QStringLiteral("Nowhere")}});
        QCOMPARE(TsBaseDialog::setLanguageOverridesForDialect(dialect, name, close), result);
        QCOMPARE(TsBaseDialog::languageList().at(1).first, expectedName);
        QCOMPARE(TsBaseDialog::languageList().at(1).second, expectedClose);
        QCOMPARE(TsBaseDialog::languageMap().value(QStringLiteral("ES_US")), expectedName);
        QCOMPARE(TsBaseDialog::languageList().at(0), twoLanguages.at(0));
    }

    void selectorFlags()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QDir(folder.path()).mkdir(QStringLiteral("images"));
        QImage flag(90, 60, QImage::Format_RGB32);
        flag.fill(Qt::red);
        QVERIFY(flag.save(folder.filePath(QStringLiteral("images/FR_CA.png"))));
        flag.fill(Qt::blue);
        QVERIFY(flag.save(folder.filePath(QStringLiteral("images/en_us.jpg"))));
        TsBaseDialog::setApplicationFolder(folder.path());

        LanguageSelectorExtension selector;
        selector.loadLanguages({{QStringLiteral("FR_CA"), QStringLiteral("Français")},
            {QStringLiteral("DE_DE"), QStringLiteral("Deutsch")},
            {QStringLiteral("EN_US"), QStringLiteral("English")}});
        TsBaseDialog::setApplicationFolder(QString());

        QCOMPARE(selector.count(), 3);
        QStringList codes;
        for (int i = 0; i < selector.count(); ++i)
            codes << static_cast<LanguageSelectorExtensionItem *>(selector.item(i))->languageCode();
        QCOMPARE(codes, (QStringList {"DE_DE", "EN_US", "FR_CA"}));
        auto colourOf = [&](int row) {
            return selector.item(row)->icon().pixmap(45, 30).toImage().pixelColor(20, 15);
        };
        QCOMPARE(colourOf(0).alpha(), 0); // no flag file: an empty picture
        QCOMPARE(selector.item(0)->text(), QStringLiteral("Deutsch"));
        QVERIFY(colourOf(1).blue() > 200); // lower-case .jpg
        QVERIFY(colourOf(2).red() > 200); // only a .png
        QVERIFY(selector.minimumWidth() >= 150);

        QSignalSpy selected(&selector, &LanguageSelectorExtension::languageSelected);
        emit selector.itemClicked(selector.item(2));
        QCOMPARE(selected.count(), 1);
        QCOMPARE(selected.at(0).at(0).toString(), QStringLiteral("FR_CA"));
        QCOMPARE(selected.at(0).at(1).toString(), QStringLiteral("Français"));
        selector.handleItemClicked(nullptr);
        QCOMPARE(selected.count(), 1);
    }

    void copyrightCycle()
    {
        TsBaseDialog::setSiteName(QString());
        QWidget parent;
        CopyrightLabel label(&parent);
        QCOMPARE(label.text(), versionInfo->getProductName());
        QCOMPARE(label.height(), 30);
        QCOMPARE(label.font().pointSize(), 10);
        label.changeText();
        QCOMPARE(
            label.text(), versionInfo->getLegalCopyright() + ", " + versionInfo->getCompanyName());
        label.changeText();
        QCOMPARE(label.text(), QStringLiteral("All Rights Reserved"));
        label.changeText();
        QCOMPARE(label.text(), "Version " + versionInfo->getVersionString());
        label.changeText();
        QCOMPARE(label.text(), QString());
        TsBaseDialog::setSiteName(QStringLiteral("Central Library"));
        label.changeText();
        QCOMPARE(label.text(), versionInfo->getProductName());
        for (int i = 0; i < 4; ++i)
            label.changeText();
        QCOMPARE(label.text(), QStringLiteral("Central Library"));
        QVERIFY(label.alignment() & Qt::AlignHCenter);
        TsBaseDialog::setSiteName(QString());
    }

    void sharedFontAndColour()
    {
        TsBaseDialog::setDefaults();
        TsBaseDialog::setDefaultFont(QStringLiteral("DejaVu Sans"), 14);
        TestDialog dialog(-1, false);
        QCOMPARE(dialog.font().pointSize(), 14);
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::white));
        TsBaseDialog::setDefaults();
        TestDialog second(-1, false);
        QCOMPARE(TsBaseDialog::defaultFont().pointSize(), 12);
        QCOMPARE(TsBaseDialog::defaultFont().family(), QStringLiteral("Verdana"));
    }
};

QTEST_MAIN(TstTsBaseDialog)
#include "tst_tsbasedialog.moc"
