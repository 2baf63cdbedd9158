#include "ChangeLanguageButton.h"
#include "ClientProcessingDialog.h"
#include "ImageButton.h"
#include "MessageDialog.h"
#include "ModalHelper.h"
#include "PrintClientImages.h"
#include "qembed_findImage.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(QMessageBox::Icon)

namespace {
QImage appPicture(const QString &name)
{
    return QImage(QStringLiteral(PELLORA_APP_DIR "/images/") + name);
}
} // namespace

class TstMessageDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TsBaseDialog::setApplicationFolder(QStringLiteral(PELLORA_APP_DIR));
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
        QVERIFY2(!appPicture(QStringLiteral("button1.jpg")).isNull(),
            "the build copies the replaceable pictures into the app folder");
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void buttonVariants_data()
    {
        // clang-format off
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("images"); // empty: plain push buttons
        QTest::addRow("2 image buttons") << 2 << QStringList {"button1.jpg", "button2.jpg"};
        QTest::addRow("1002 plain buttons") << 1002 << QStringList {};
        QTest::addRow("3 image buttons")
            << 3 << QStringList {"button1.jpg", "button2.jpg", "button2.jpg"};
        QTest::addRow("1001 one plain button") << 1001 << QStringList {};
        // clang-format on
    }
    void buttonVariants()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, images);
        MessageDialog dialog(QStringLiteral("Caption"), {QStringLiteral("Text")}, {QString()},
            QMessageBox::Warning, nullptr, 0, buttons, QStringLiteral("OK"), QString(),
            QStringLiteral("Cancel"), QString(), QStringLiteral("Help"));
        const int count = buttons % 1000;
        QCOMPARE(dialog.buttonCount(), count);
        QCOMPARE(dialog.hasImageButtons(), buttons < 1000);
        for (int i = 0; i < 3; ++i) {
            auto *button = dialog.findChild<QPushButton *>(QStringLiteral("button%1").arg(i + 1));
            QCOMPARE(button != nullptr, i < count);
            if (!button)
                continue;
            QVERIFY(button->minimumWidth() >= 80);
            auto *imageButton = qobject_cast<UtilsLib::ImageButton *>(button);
            QCOMPARE(imageButton != nullptr, !images.isEmpty());
            if (imageButton)
                QCOMPARE(imageButton->enabledImage().toImage(), appPicture(images.at(i)));
        }
        auto *first = dialog.findChild<QPushButton *>(QStringLiteral("button1"));
        QVERIFY(first->isDefault());
        QCOMPARE(first->autoDefault(), count == 1);
    }

    void explicitButtonImage()
    {
        const QString path = QStringLiteral(PELLORA_APP_DIR "/images/button1_disable.jpg");
        MessageDialog dialog(QString(), {QString()}, {QString()}, QMessageBox::NoIcon, nullptr, 0,
            2, QStringLiteral("OK"), QString(), QStringLiteral("No"), path);
        auto *second = dialog.findChild<UtilsLib::ImageButton *>(QStringLiteral("button2"));
        QCOMPARE(second->enabledImage().toImage(), QImage(path));
        dialog.setButtonImage(1, PrintClientImages::button1());
        QCOMPARE(second->enabledImage().toImage(), PrintClientImages::button1().toImage());
        dialog.setButtonImage(5, QPixmap()); // out of range: ignored
    }

    void labelsJoin_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("label1");
        QTest::addColumn<QStringList>("label2");
        QTest::addColumn<QStringList>("label3");
        QTest::addColumn<QString>("shown");
        QTest::addRow("one block")
            << QStringList {"Unable", "to print"} << QStringList {} << QStringList {}
            << "Unable to print";
        QTest::addRow("two blocks")
            << QStringList {"Job received."} << QStringList {"Pick it up."} << QStringList {}
            << "Job received.\nPick it up.";
        QTest::addRow("three blocks")
            << QStringList {"A"} << QStringList {"B", "C"} << QStringList {"D"} << "A\nB C\nD";
        QTest::addRow("markup stays text")
            << QStringList {"<b>x</b>"} << QStringList {} << QStringList {} << "<b>x</b>";
        // clang-format on
    }
    void labelsJoin()
    {
        QFETCH(QStringList, label1);
        QFETCH(QStringList, label2);
        QFETCH(QStringList, label3);
        QFETCH(QString, shown);
        MessageDialog dialog(QStringLiteral("Print"), label1, label2, QMessageBox::Information,
            nullptr, 0, 1, QStringLiteral("OK"));
        dialog.setLabel3Text(label3);
        QCOMPARE(dialog.messageText(), shown);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Print"));
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(dialog.button(0)->text(), QStringLiteral("OK"));
    }

    void buttonValues_data()
    {
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("result");
        QTest::addRow("default first") << 0 << 1;
        QTest::addRow("default second") << 1 << 0;
        QTest::addRow("custom third") << 2 << 9;
    }
    void buttonValues()
    {
        QFETCH(int, clicked);
        QFETCH(int, result);
        MessageDialog dialog(QString(), {QStringLiteral("Choose")}, {QString()},
            QMessageBox::Question, nullptr, 30, 1003, QStringLiteral("A"), QString(),
            QStringLiteral("B"), QString(), QStringLiteral("C"));
        if (clicked == 2)
            dialog.setButtonValues(1, 0, 9);
        whenModal([&](QWidget *) { dialog.button(clicked)->click(); });
        QCOMPARE(dialog.exec(), result);
    }

    void iconsChange()
    {
        MessageDialog dialog(QString(), {QString()}, {QString()}, QMessageBox::NoIcon, nullptr, 0,
            1001, QStringLiteral("OK"));
        auto *icon = dialog.findChild<QLabel *>(QStringLiteral("iconLabel"));
        QVERIFY(icon->pixmap().isNull());
        dialog.setIcon(QMessageBox::Critical);
        QVERIFY(!icon->pixmap().isNull());
        dialog.setIconPixmap(PrintClientImages::printOk());
        QCOMPARE(icon->pixmap().size(), QSize(50, 50));
    }

    void processingDialogTicksOnlyWhenShown()
    {
        ClientProcessingDialog dialog(nullptr, -1, TsBaseDialog::titledWindowFlags());
        QCOMPARE(dialog.getText(), ClientProcessingDialog::PLEASE_WAIT);
        QCOMPARE(dialog.timeout(), -1);
        QVERIFY(!dialog.isTicking());
        QVERIFY(dialog.changeLanguageButton()->isHidden());
        dialog.setOverrideText(ClientProcessingDialog::SUBMITTING_JOB_TEXT);
        dialog.show();
        QVERIFY(dialog.isTicking());
        auto *status = dialog.findChild<QLabel *>(QStringLiteral("statusText"));
        QCOMPARE(status->text(), QStringLiteral("Please Wait... Submitting Job"));
        dialog.hide();
        QVERIFY(!dialog.isTicking());
        QCOMPARE(dialog.getText(), QStringLiteral("Please Wait..."));
        dialog.setOverrideText(ClientProcessingDialog::RELEASING_JOB_TEXT);
        dialog.clearOverrideText();
        QCOMPARE(status->text(), ClientProcessingDialog::PLEASE_WAIT);
    }

    void builtInPictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        // clang-format off
        const std::tuple<const char *, int, int, bool> table[] = {
            {"allocation", 50, 50, false},      {"button1", 73, 25, false},
            {"button1_disable", 73, 25, false}, {"button2", 73, 25, false},
            {"credit", 50, 50, false},          {"credit_disable", 50, 50, false},
            {"deposit", 50, 50, false},         {"deposit_disable", 50, 50, false},
            {"largeButton1", 200, 46, false},   {"Pellora", 300, 175, false},
            {"password", 50, 50, false},        {"PrintClient", 16, 16, true},
            {"PrintClientLarge", 48, 48, true}, {"PrintClientBW", 16, 16, true},
            {"PrintOK", 50, 50, false},         {"UserID", 50, 50, false},
            {"WantToPrint", 50, 50, false},     {"pelloraClientImage", 50, 50, false},
        };
        // clang-format on
        for (const auto &[name, w, h, alpha] : table)
            QTest::addRow("%s", name) << QString::fromLatin1(name) << QSize(w, h) << alpha;
    }
    void builtInPictures()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        const QImage &image = qembed_findImage(name);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.hasAlphaChannel(), alpha);
        // Made once: the same object comes back.
        QCOMPARE(&qembed_findImage(name), &image);
        QCOMPARE(PrintClientImages::findImage(name).size(), size);
    }

    void unknownPictures()
    {
        QVERIFY(qembed_findImage(QStringLiteral("nothing")).isNull());
        QVERIFY(qembed_findImage(QStringLiteral("pellora")).isNull()); // names are exact
        QVERIFY(PrintClientImages::findImage(QStringLiteral("nothing")).isNull());
        QCOMPARE(PrintClientImages::libraryDeposit().cacheKey(),
            PrintClientImages::deposit().cacheKey());
        QCOMPARE(PrintClientImages::pelloraOne().size(), QSize(300, 175));
        QCOMPARE(
            PrintClientImages::password().cacheKey(), PrintClientImages::password().cacheKey());
    }
};

QTEST_MAIN(TstMessageDialog)
#include "tst_messagedialog.moc"
