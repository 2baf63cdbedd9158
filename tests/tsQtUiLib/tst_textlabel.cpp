#include "TextLabel.h"

#include <QTest>

#include <functional>
#include <memory>

namespace {
const QString Notice
    = QStringLiteral("GUEST USERS: Please create the information requested above and remember it.");

// One change to a label, applied alike to the cached one and to a plain QLabel.
using Change = std::function<void(QLabel *)>;

struct Answers
{
    QSize hint;
    QSize minimumHint;
    QList<int> heights;
    bool operator==(const Answers &other) const
    {
        return hint == other.hint && minimumHint == other.minimumHint && heights == other.heights;
    }
};

Answers answersOf(const QLabel &label)
{
    Answers answers {label.sizeHint(), label.minimumSizeHint(), {}};
    for (int width : {0, 60, 150, 300, 1000})
        answers.heights << label.heightForWidth(width);
    return answers;
}

char *toString(const Answers &answers)
{
    QByteArray text = "hint " + QByteArray::number(answers.hint.width()) + 'x'
        + QByteArray::number(answers.hint.height()) + " minimum "
        + QByteArray::number(answers.minimumHint.width()) + 'x'
        + QByteArray::number(answers.minimumHint.height()) + " heights";
    for (int height : answers.heights)
        text += ' ' + QByteArray::number(height);
    return qstrdup(text.constData());
}
} // namespace

Q_DECLARE_METATYPE(Change)

class TstTextLabel : public QObject
{
    Q_OBJECT

private slots:
    // The remembered answers are QLabel's own, and none survives a change of
    // what the size depends on, in the changed label or in one built after it.
    void answersAreQLabels_data()
    {
        QTest::addColumn<Change>("change");
        // clang-format off
        QTest::addRow("a second label with the same text") << Change([](QLabel *) { });
        QTest::addRow("text") << Change([](QLabel *l) { l->setText(Notice + " Ask the staff at the desk when in doubt."); });
        QTest::addRow("markup, shown as text") << Change([](QLabel *l) { l->setText("<b>GUEST USERS:</b> " + Notice); });
        QTest::addRow("font") << Change([](QLabel *l) { QFont f = l->font(); f.setPointSize(f.pointSize() + 6); l->setFont(f); });
        QTest::addRow("margin") << Change([](QLabel *l) { l->setMargin(9); });
        QTest::addRow("indent") << Change([](QLabel *l) { l->setIndent(25); });
        QTest::addRow("contents margins") << Change([](QLabel *l) { l->setContentsMargins(3, 4, 17, 2); });
        QTest::addRow("minimum width") << Change([](QLabel *l) { l->setMinimumWidth(310); });
        QTest::addRow("maximum width") << Change([](QLabel *l) { l->setMaximumWidth(140); });
        QTest::addRow("frame") << Change([](QLabel *l) { l->setFrameStyle(QFrame::Box | QFrame::Plain); l->setLineWidth(4); });
        QTest::addRow("no wrapping") << Change([](QLabel *l) { l->setWordWrap(false); });
        // clang-format on
    }
    void answersAreQLabels()
    {
        QFETCH(Change, change);
        TextLabel label(nullptr);
        label.setWordWrap(true);
        label.setText(Notice);
        QCOMPARE(answersOf(label), answersOf(*freshLabel([](QLabel *) {})));

        change(&label);
        const auto reference = freshLabel(change);
        QCOMPARE(answersOf(label), answersOf(*reference));

        TextLabel later(nullptr);
        later.setWordWrap(true);
        later.setText(Notice);
        change(&later);
        QCOMPARE(answersOf(later), answersOf(*reference));
    }

private:
    // Built in its final state: QLabel itself keeps a size hint asked for
    // before a change of its minimum or maximum size. Plain, as a TextLabel
    // is: its translations may be the Print Service's.
    static std::unique_ptr<QLabel> freshLabel(const Change &change)
    {
        auto label = std::make_unique<QLabel>();
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setText(Notice);
        change(label.get());
        return label;
    }
};

QTEST_MAIN(TstTextLabel)
#include "tst_textlabel.moc"
