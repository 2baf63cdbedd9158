#include "TextLabel.h"

#include <QTest>

#include <memory>

namespace {
const QString Notice
    = QStringLiteral("GUEST USERS: Please create the information requested above and remember it.");

enum Change {
    Nothing,
    Text,
    RichText,
    Font,
    Margin,
    Indent,
    ContentsMargins,
    MinimumWidth,
    MaximumWidth,
    Frame,
    NoWrap,
};

void apply(QLabel *label, Change change)
{
    switch (change) {
    case Nothing:
        break;
    case Text:
        label->setText(Notice + QStringLiteral(" Ask the staff at the desk when in doubt."));
        break;
    case RichText:
        label->setText(QStringLiteral("<b>GUEST USERS:</b> ") + Notice);
        break;
    case Font: {
        QFont font = label->font();
        font.setPointSize(font.pointSize() + 6);
        label->setFont(font);
        break;
    }
    case Margin:
        label->setMargin(9);
        break;
    case Indent:
        label->setIndent(25);
        break;
    case ContentsMargins:
        label->setContentsMargins(3, 4, 17, 2);
        break;
    case MinimumWidth:
        label->setMinimumWidth(310);
        break;
    case MaximumWidth:
        label->setMaximumWidth(140);
        break;
    case Frame:
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(4);
        break;
    case NoWrap:
        label->setWordWrap(false);
        break;
    }
}

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

class TstTextLabel : public QObject
{
    Q_OBJECT

private slots:
    // The remembered answers are QLabel's own, and none survives a change of
    // what the size depends on, in the changed label or in one built after it.
    void answersAreQLabels_data()
    {
        QTest::addColumn<int>("change");
        // clang-format off
        QTest::addRow("a second label with the same text") << int(Nothing);
        QTest::addRow("text") << int(Text);
        QTest::addRow("rich text") << int(RichText);
        QTest::addRow("font") << int(Font);
        QTest::addRow("margin") << int(Margin);
        QTest::addRow("indent") << int(Indent);
        QTest::addRow("contents margins") << int(ContentsMargins);
        QTest::addRow("minimum width") << int(MinimumWidth);
        QTest::addRow("maximum width") << int(MaximumWidth);
        QTest::addRow("frame") << int(Frame);
        QTest::addRow("no wrapping") << int(NoWrap);
        // clang-format on
    }
    void answersAreQLabels()
    {
        QFETCH(int, change);
        TextLabel label(nullptr);
        label.setWordWrap(true);
        label.setText(Notice);
        QCOMPARE(answersOf(label), answersOf(*freshLabel(Nothing)));

        apply(&label, Change(change));
        const auto reference = freshLabel(Change(change));
        QCOMPARE(answersOf(label), answersOf(*reference));

        TextLabel later(nullptr);
        later.setWordWrap(true);
        later.setText(Notice);
        apply(&later, Change(change));
        QCOMPARE(answersOf(later), answersOf(*reference));
    }

private:
    // Built in its final state: QLabel itself keeps a size hint asked for
    // before a change of its minimum or maximum size.
    static std::unique_ptr<QLabel> freshLabel(Change change)
    {
        auto label = std::make_unique<QLabel>();
        label->setWordWrap(true);
        label->setText(Notice);
        apply(label.get(), change);
        return label;
    }
};

QTEST_MAIN(TstTextLabel)
#include "tst_textlabel.moc"
