#include "AboutInfoDialog.h"
#include "KoaMainWindow.h"
#include "LanguageChangerInterface.h"
#include "PrefixTranslator.h"
#include "VersionInfoInterface.h"

#include "ModalHelper.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

namespace {
class TestVersionInfo : public VersionInfoInterface
{
public:
    TestVersionInfo()
    {
        fileDescription = QStringLiteral("Pellora Print Client");
        versionString = QStringLiteral("4.2.1");
        legalCopyright = QStringLiteral("Copyright 2026 Tessaly");
        productName = QStringLiteral("Pellora");
    }
    bool initialize() override { return true; }
};

class TestLanguageChanger : public LanguageChangerInterface
{
public:
    // Marks every text of the main window, as a new language would.
    PrefixTranslator translator {"KoaMainWindow", QStringLiteral("fr:")};
    int changeLanguage(const QString &) override
    {
        QCoreApplication::installTranslator(&translator);
        return 4;
    }
};
} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_previousVersionInfo = versionInfo;
        versionInfo = &m_versionInfo;
    }
    void cleanupTestCase() { versionInfo = m_previousVersionInfo; }

    void builtWithItsNamesAndTexts()
    {
        KoaMainWindow window(true);
        QCOMPARE(window.objectName(), QStringLiteral("Thin Client Main Window"));
        QCOMPARE(window.windowTitle(), QString::fromUtf8("Pellora\u2122 Print Client"));
        QCOMPARE(window.stopButton()->objectName(), QStringLiteral("mainWindow_OkBtn"));
        QCOMPARE(window.stopButton()->text(), QStringLiteral("Stop Print Client"));
        QCOMPARE(window.stopButton()->accessibleName(), QStringLiteral("Stop Print Client"));
        QCOMPARE(window.aboutLink()->objectName(), QStringLiteral("aboutLabel"));
        QCOMPARE(window.aboutLink()->accessibleName(), QStringLiteral("About Pellora"));
        QCOMPARE(window.aboutLink()->cursor().shape(), Qt::PointingHandCursor);
        // A screen reader announces the link as something to press, and can press it.
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(window.aboutLink());
        QVERIFY(link);
        QVERIFY(link->role() == QAccessible::Button || link->role() == QAccessible::Link);
        QVERIFY(link->state().focusable);
        QVERIFY(link->actionInterface());
        QVERIFY(link->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(window.width() >= 300);
        QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));
        // Tab reaches the link after the button.
        QCOMPARE(window.stopButton()->nextInFocusChain(), window.aboutLink());
    }

    // The box opens from the keyboard, shows the version keys, and a language
    // chosen in it relabels the window once it closes by keyboard.
    void aboutBoxByKeyboardRelabelsTheWindow()
    {
        TestLanguageChanger changer;
        TsBaseDialog::setLanguageChanger(&changer);
        KoaMainWindow window(false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QString text;
        QString okName;
        bool okFocused = false;
        bool closedByKey = false;
        whenModal([&](QWidget *modal) {
            auto *about = qobject_cast<AboutInfoDialog *>(modal);
            if (!about) {
                modal->close();
                return;
            }
            text = about->mainLabel()->text();
            okName = about->okButton()->accessibleName();
            okFocused = QTest::qWaitFor(
                [about] { return QApplication::focusWidget() == about->okButton(); }, 2000);
            // The patron opens the language selector and picks a language.
            about->toggleExtension();
            about->languageChange(QStringLiteral("FR_FR"));
            QTest::keyClick(about->okButton(), Qt::Key_Space);
            closedByKey = about->isHidden();
            about->reject();
        });
        window.aboutLink()->setFocus();
        QTest::keyClick(window.aboutLink(), Qt::Key_Return);
        QCoreApplication::removeTranslator(&changer.translator);
        TsBaseDialog::setLanguageChanger(nullptr);

        QVERIFY(okFocused);
        QVERIFY(closedByKey);
        QVERIFY2(text.startsWith("Pellora Print Client - Version 4.2.1\nCopyright 2026 Tessaly\n"),
            qPrintable(text));
        QVERIFY(text.contains("GNU Lesser General Public License"));
        QVERIFY(text.contains("\nAll Rights Reserved.\n\n"));
        QCOMPARE(okName, QStringLiteral("OK"));
        QCOMPARE(window.stopButton()->text(), QStringLiteral("fr:Stop Print Client"));
        QCOMPARE(window.aboutLink()->text(), QStringLiteral("fr:About Pellora"));
    }

    // Closing the window hides it; the client goes on.
    void closeKeepsTheClientRunning()
    {
        KoaMainWindow window(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTimer stillRunning;
        stillRunning.setSingleShot(true);
        connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        QTimer::singleShot(0, &window, [&] {
            QVERIFY(window.close());
            stillRunning.start(50);
        });
        QCOMPARE(QApplication::exec(), 7);
        QVERIFY(window.isHidden());
    }

private:
    TestVersionInfo m_versionInfo;
    VersionInfoInterface *m_previousVersionInfo = nullptr;
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
