// The cut-text check finds every kind of cut a dialog can show, and nothing in
// a window whose layout gives each text its room.
#include "CutTextCheck.h"
#include "ImageButton.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace {
const QString Long = QStringLiteral("Hora de vencimiento: 9 de diciembre de 2026, 17:30");

// Puts one widget into the window's layout and returns it.
using Build = std::function<void(QWidget *window, QVBoxLayout *layout)>;

QLabel *label(QVBoxLayout *layout, const QString &text)
{
    auto *label = new QLabel(text);
    layout->addWidget(label);
    return label;
}

QTreeWidget *tree(QVBoxLayout *layout, const QString &header, const QString &cell)
{
    auto *tree = new QTreeWidget;
    tree->setColumnCount(2);
    tree->setHeaderLabels({header, QStringLiteral("Location")});
    tree->header()->setSectionResizeMode(QHeaderView::Stretch);
    new QTreeWidgetItem(tree, {cell, QStringLiteral("Main floor")});
    layout->addWidget(tree);
    return tree;
}
} // namespace

Q_DECLARE_METATYPE(Build)

class TstCutTextCheck : public QObject
{
    Q_OBJECT

private slots:
    void findsEveryCut_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<QString>("found");
        // clang-format off
        QTest::addRow("label in a layout") << Build([](QWidget *, QVBoxLayout *l) { label(l, Long); }) << "";
        QTest::addRow("label of fixed width") << Build([](QWidget *, QVBoxLayout *l) { label(l, Long)->setFixedWidth(120); }) << "QLabel";
        QTest::addRow("label of fixed height") << Build([](QWidget *, QVBoxLayout *l) { label(l, Long)->setFixedHeight(5); }) << "QLabel";
        QTest::addRow("wrapped label with its height") << Build([](QWidget *, QVBoxLayout *l) { QLabel *t = label(l, Long + ' ' + Long); t->setWordWrap(true); t->setMinimumWidth(150); }) << "";
        QTest::addRow("wrapped label one line high") << Build([](QWidget *, QVBoxLayout *l) { QLabel *t = label(l, Long + ' ' + Long); t->setWordWrap(true); t->setFixedSize(150, t->fontMetrics().height()); }) << "QLabel";
        QTest::addRow("wrapped label, a word wider than it") << Build([](QWidget *, QVBoxLayout *l) { QLabel *t = label(l, "Identificación"); t->setWordWrap(true); t->setFixedWidth(30); }) << "QLabel";
        QTest::addRow("rich text table fixed narrower") << Build([](QWidget *, QVBoxLayout *l) { label(l, "<table width='40'><tr><td><nobr>Mode recto verso :</nobr></td><td>Activé</td></tr></table>")->setFixedWidth(60); }) << "QLabel";
        QTest::addRow("rich text in a layout") << Build([](QWidget *, QVBoxLayout *l) { label(l, "<table><tr><td><nobr>Mode recto verso :</nobr></td><td>Activé</td></tr></table>"); }) << "";
        QTest::addRow("button in a layout") << Build([](QWidget *, QVBoxLayout *l) { l->addWidget(new QPushButton("Abbrechen")); }) << "";
        QTest::addRow("button of fixed width") << Build([](QWidget *, QVBoxLayout *l) { auto *b = new QPushButton("Abbrechen"); b->setFixedWidth(40); l->addWidget(b); }) << "QPushButton";
        QTest::addRow("picture button of fixed width") << Build([](QWidget *, QVBoxLayout *l) { auto *b = new UtilsLib::ImageButton("Abbrechen", nullptr, "cancel"); QPixmap face(73, 25); face.fill(Qt::gray); b->setEnabledImage(face); b->setFixedWidth(30); l->addWidget(b); }) << "ImageButton";
        QTest::addRow("tree with room") << Build([](QWidget *w, QVBoxLayout *l) { tree(l, "Release Terminal", "Station 1"); w->setMinimumWidth(500); }) << "";
        QTest::addRow("header section too narrow") << Build([](QWidget *w, QVBoxLayout *l) { tree(l, Long, "Station 1"); w->setFixedWidth(200); }) << "QHeaderView";
        QTest::addRow("tree cell too narrow") << Build([](QWidget *w, QVBoxLayout *l) { tree(l, "Terminal", Long); w->setFixedWidth(200); }) << "QTreeWidget";
        QTest::addRow("widget past the window's edge") << Build([](QWidget *w, QVBoxLayout *) { auto *t = new QLabel("OK", w); t->setGeometry(w->width() - 5, 0, 40, 20); }) << "reaches past QWidget";
        QTest::addRow("window past the screen") << Build([](QWidget *w, QVBoxLayout *) { w->setMinimumWidth(1100); }) << "reaches past the screen";
        // clang-format on
    }
    void findsEveryCut()
    {
        QFETCH(Build, build);
        QFETCH(QString, found);
        QWidget window;
        window.resize(300, 200);
        auto *layout = new QVBoxLayout(&window);
        build(&window, layout);
        window.move(0, 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList findings = CutTextCheck::findings(&window, QRect(0, 0, 1024, 768));
        if (found.isEmpty()) {
            QVERIFY2(findings.isEmpty(), qPrintable(findings.join('\n')));
        } else {
            QVERIFY2(findings.size() == 1, qPrintable(findings.join('\n')));
            QVERIFY2(findings.constFirst().contains(found), qPrintable(findings.constFirst()));
        }
    }
};

QTEST_MAIN(TstCutTextCheck)
#include "tst_cuttextcheck.moc"
