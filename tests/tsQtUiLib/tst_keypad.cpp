#include "AlphanumericKeyboardInputFilter.h"
#include "KeyPad.h"
#include "KeypadDialog.h"
#include "ModalHelper.h"
#include "QustomLineEdit.h"
#include "TempCursor.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
class FormDialog : public KeypadDialog
{
public:
    explicit FormDialog(int style, int fixedHeight = 0)
        : KeypadDialog(style, nullptr, -1, false)
    {
        auto *layout = new QVBoxLayout;
        first = new QLineEdit(this);
        second = new QLineEdit(this);
        layout->addWidget(first);
        layout->addWidget(second);
        setMainLayout(layout);
        if (fixedHeight)
            setFixedSize(400, fixedHeight);
    }
    void redrawText() override { }

    QLineEdit *first;
    QLineEdit *second;
};
} // namespace

class TstKeyPad : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
        TsBaseDialog::setDefaultTimeout(-1);
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void styles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("alpha");
        QTest::addRow("alpha") << 1 << true;
        QTest::addRow("numeric") << 2 << false;
        QTest::addRow("other numeric") << 7 << false;
    }
    void styles()
    {
        QFETCH(int, style);
        QFETCH(bool, alpha);
        FormDialog dialog(style);
        KeyPad *pad = dialog.keypad();
        QVERIFY(pad);
        QCOMPARE(pad->key(QStringLiteral("q")) != nullptr, alpha);
        QVERIFY(pad->key(QStringLiteral("7")));
        QVERIFY(pad->key(QStringLiteral("period")));
        QCOMPARE(pad->key(QStringLiteral("shift")) != nullptr, alpha);
        QCOMPARE(pad->key(QStringLiteral("next"))->text(), QStringLiteral("Next Field"));
        QCOMPARE(pad->key(QStringLiteral("back"))->text(), QStringLiteral("Backspace"));
        QCOMPARE(pad->key(QStringLiteral("7"))->focusPolicy(), Qt::NoFocus);
        QVERIFY(!FormDialog(0).keypad());
    }

    void typingReplacesSelection()
    {
        FormDialog dialog(1);
        dialog.show();
        dialog.first->setText(QStringLiteral("hello"));
        dialog.first->setFocus();
        dialog.first->selectAll();
        dialog.keypad()->key(QStringLiteral("x"))->click();
        QCOMPARE(dialog.first->text(), QStringLiteral("x"));
        QCOMPARE(dialog.first->cursorPosition(), 1);
        dialog.first->setCursorPosition(0);
        dialog.keypad()->hit7();
        QCOMPARE(dialog.first->text(), QStringLiteral("7x"));
        QCOMPARE(dialog.first->cursorPosition(), 1);
        dialog.hide();
    }

    void backspaceAndClear()
    {
        FormDialog dialog(2);
        dialog.show();
        dialog.first->setText(QStringLiteral("abc"));
        dialog.first->setFocus();
        dialog.first->setCursorPosition(0);
        dialog.keypad()->hitBack();
        QCOMPARE(dialog.first->text(), QStringLiteral("abc"));
        dialog.first->setCursorPosition(2);
        dialog.keypad()->key(QStringLiteral("back"))->click();
        QCOMPARE(dialog.first->text(), QStringLiteral("ac"));
        QCOMPARE(dialog.first->cursorPosition(), 1);
        dialog.first->setSelection(0, 2);
        dialog.keypad()->hitBack();
        QCOMPARE(dialog.first->text(), QString());
        dialog.first->setText(QStringLiteral("xyz"));
        dialog.keypad()->hitClear();
        QCOMPARE(dialog.first->text(), QString());
        dialog.hide();
    }

    void shiftedKeys()
    {
        FormDialog dialog(1);
        dialog.showTopLevelDomainKeys(true);
        dialog.show();
        KeyPad *pad = dialog.keypad();
        QVERIFY(pad->key(QStringLiteral("com"))->isVisible());
        dialog.first->setFocus();
        pad->hitShift();
        QVERIFY(pad->isShifted());
        QVERIFY(pad->key(QStringLiteral("shift"))->isChecked());
        QCOMPARE(pad->key(QStringLiteral("q"))->text(), QStringLiteral("Q"));
        pad->hitQ();
        pad->key(QStringLiteral("com"))->click();
        pad->hitQuotes();
        pad->hit5();
        QCOMPARE(dialog.first->text(), QStringLiteral("Q.COM\"5"));
        // Shift stays until pressed again.
        pad->hitShift();
        pad->hitQ();
        pad->hitDotCom();
        pad->hitColons();
        QCOMPARE(dialog.first->text(), QStringLiteral("Q.COM\"5q.com;"));
        QCOMPARE(pad->key(QStringLiteral("q"))->text(), QStringLiteral("q"));
        dialog.showTopLevelDomainKeys(false);
        QVERIFY(!pad->key(QStringLiteral("com"))->isVisible());
        dialog.hide();
    }

    void keysWithoutLineEditDoNothing()
    {
        FormDialog dialog(1);
        dialog.show();
        dialog.first->setEnabled(false);
        dialog.second->setEnabled(false);
        dialog.keypad()->hitA();
        dialog.keypad()->hitBack();
        QCOMPARE(dialog.first->text(), QString());
        QCOMPARE(dialog.second->text(), QString());
        dialog.hide();
    }

    void fieldLimitsHold()
    {
        FormDialog dialog(2);
        dialog.show();
        dialog.first->setMaxLength(2);
        dialog.first->setFocus();
        dialog.keypad()->hit1();
        dialog.keypad()->hit2();
        dialog.keypad()->hit3();
        QCOMPARE(dialog.first->text(), QStringLiteral("12"));
        dialog.hide();
    }

    void nextField()
    {
        FormDialog dialog(1);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.second->setText(QStringLiteral("filled"));
        dialog.first->setFocus();
        dialog.keypad()->key(QStringLiteral("next"))->click();
        QCOMPARE(dialog.focusWidget(), dialog.second);
        QCOMPARE(dialog.second->selectedText(), QStringLiteral("filled"));
        dialog.keypad()->hitA();
        QCOMPARE(dialog.second->text(), QStringLiteral("a"));
        dialog.hide();
    }

    void keypadTouchIsActivity()
    {
        FormDialog dialog(2);
        dialog.setTimeout(4000);
        bool restarted = false;
        whenModal([&](QWidget *) {
            dialog.first->setFocus();
            QVERIFY(QTest::qWaitFor([&] { return dialog.remainingTimeout() < 3700; }));
            dialog.keypad()->hit4();
            restarted = dialog.remainingTimeout() > 3800;
            dialog.reject();
        });
        dialog.exec();
        QVERIFY(restarted);
        QCOMPARE(dialog.first->text(), QStringLiteral("4"));
    }

    void dialogOffset_data()
    {
        QTest::addColumn<int>("dialogHeight");
        QTest::addColumn<int>("keypadHeight");
        QTest::addColumn<int>("y");
        QTest::addRow("overlap moves up") << 300 << 300 << 84;
        QTest::addRow("room stays centred") << 100 << 300 << 334;
        QTest::addRow("just touching stays centred") << 168 << 300 << 300;
        QTest::addRow("taller than the room stays on screen") << 600 << 300 << 0;
        QTest::addRow("no keypad") << 300 << 0 << 234;
    }
    void dialogOffset()
    {
        QFETCH(int, dialogHeight);
        QFETCH(int, keypadHeight);
        QFETCH(int, y);
        QCOMPARE(KeypadDialog::dialogOffset(QRect(0, 0, 1024, 768), dialogHeight, keypadHeight), y);
    }

    void placement_data()
    {
        QTest::addColumn<int>("style");
        QTest::addRow("alpha") << 1;
        QTest::addRow("numeric") << 2;
    }
    void placement()
    {
        QFETCH(int, style);
        FormDialog dialog(style, 300);
        dialog.show();
        KeyPad *pad = dialog.keypad();
        QVERIFY(pad->isVisible());
        const QRect keypad = pad->frameGeometry();
        QCOMPARE(keypad.bottom(), 767);
        QCOMPARE(keypad.left(), (1024 - keypad.width()) / 2);
        const QRect frame = dialog.frameGeometry();
        QCOMPARE(frame.x(), (1024 - frame.width()) / 2);
        QCOMPARE(frame.y(),
            KeypadDialog::dialogOffset(QRect(0, 0, 1024, 768), frame.height(), keypad.height()));
        QVERIFY(dialog.frameGeometry().bottom() < keypad.top());
        dialog.hide();
        QVERIFY(!pad->isVisible());
    }

    void filter_data()
    {
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("allowed");
        QTest::addRow("minus exception") << "-." << int('-') << true;
        QTest::addRow("period exception") << "-." << int('.') << true;
        QTest::addRow("bang refused") << "-." << int('!') << false;
        QTest::addRow("digit") << "" << int('7') << true;
        QTest::addRow("letter") << "" << int(Qt::Key_Q) << true;
        QTest::addRow("blank") << "" << int(' ') << true;
        QTest::addRow("no-break space") << "" << 160 << true;
        QTest::addRow("latin-1 letter") << "" << 0xe9 << true;
        QTest::addRow("multiplication sign range") << "" << 0xbf << false;
        QTest::addRow("backspace") << "" << int(Qt::Key_Backspace) << true;
        QTest::addRow("escape") << "" << int(Qt::Key_Escape) << true;
        QTest::addRow("scroll lock") << "" << int(Qt::Key_ScrollLock) << true;
        QTest::addRow("old-style code of escape") << "" << 0x1000 << false;
        QTest::addRow("F1 refused") << "" << int(Qt::Key_F1) << false;
        QTest::addRow("exception above 255 ignored") << QString(QChar(0x263a)) << 0x263a << false;
        QTest::addRow("at sign only as exception") << "" << int('@') << false;
    }
    void filter()
    {
        QFETCH(QString, exceptions);
        QFETCH(int, key);
        QFETCH(bool, allowed);
        AlphanumericKeyboardInputFilter filter(exceptions);
        QCOMPARE(filter.keyIsAllowed(key), allowed);
    }

    void filteredFieldInDialog()
    {
        FormDialog dialog(0);
        dialog.installKeyboardInputFilter(
            dialog.first, std::make_unique<AlphanumericKeyboardInputFilter>(QStringLiteral("-")));
        whenModal([&](QWidget *) {
            QTest::keyClicks(dialog.first, QStringLiteral("a-b!c"));
            dialog.reject();
        });
        dialog.exec();
        QCOMPARE(dialog.first->text(), QStringLiteral("a-bc"));
    }

    void noPasting()
    {
        QWidget window;
        auto *edit = new QustomLineEdit(&window);
        window.show();
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        edit->paste();
        QCOMPARE(edit->text(), QString());
        QTest::keyClicks(edit, QStringLiteral("typed"));
        QCOMPARE(edit->text(), QStringLiteral("typed"));
        window.hide();
    }

    void waitCursor()
    {
        QVERIFY(!QGuiApplication::overrideCursor());
        {
            TempCursor busy;
            QVERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TstKeyPad)
#include "tst_keypad.moc"
