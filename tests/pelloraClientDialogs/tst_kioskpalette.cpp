#include "KioskDialogs.h"
#include "PrintClientDialog.h"

#include <QApplication>
#include <QPixmapCache>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

// Every window of every job draws with the one palette start-up made. The
// style keeps what it draws in the pixmap cache under keys that hold the
// palette's cache key: a palette of a window's or a button's own would be new
// keys, and new pixmaps, for every job.

namespace {
struct Built
{
    std::shared_ptr<void> owner;
    QWidget *window = nullptr;
};

template<typename Dialog> Built keep(Dialog dialog)
{
    QWidget *window = dialog.view.get();
    return {std::make_shared<Dialog>(std::move(dialog)), window};
}

using Build = std::function<Built(KioskDialogs::Job &)>;
} // namespace

Q_DECLARE_METATYPE(Build)

class TstKioskPalette : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KioskDialogs::setUp(); }

    void everyJobSharesOnePalette_data()
    {
        QTest::addColumn<Build>("build");
        // clang-format off
        QTest::addRow("cost") << Build([](KioskDialogs::Job &job) { return keep(KioskDialogs::costDialog(job)); });
        QTest::addRow("accounts") << Build([](KioskDialogs::Job &job) { return keep(KioskDialogs::accountsDialog(job)); });
        QTest::addRow("confirmation") << Build([](KioskDialogs::Job &job) { return keep(KioskDialogs::confirmationDialog(job)); });
        QTest::addRow("message box") << Build([](KioskDialogs::Job &) {
            auto box = std::make_shared<PrintClientDialog>(nullptr);
            box->setLabel1Text({QStringLiteral("Your print job was deleted.")});
            box->redrawText();
            return Built {box, box.get()};
        });
        // clang-format on
    }
    void everyJobSharesOnePalette()
    {
        QFETCH(Build, build);
        const qint64 shared = QApplication::palette().cacheKey();
        for (int job = 0; job < 2; ++job) {
            KioskDialogs::Job values;
            const Built built = build(values);
            built.window->show();
            QList<QWidget *> widgets = built.window->findChildren<QWidget *>();
            widgets.prepend(built.window);
            for (const QWidget *widget : std::as_const(widgets)) {
                QVERIFY2(widget->palette().cacheKey() == shared,
                    qPrintable(QStringLiteral("job %1: %2 %3")
                                   .arg(job)
                                   .arg(QLatin1String(widget->metaObject()->className()),
                                       widget->objectName())));
            }
            QCOMPARE(built.window->palette().color(QPalette::Window), QColor(Qt::white));
            const auto *button = built.window->findChild<QPushButton *>();
            QVERIFY(button);
            QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
        }
        // Kept pixmaps are found again, so the cache stays on.
        QVERIFY(QPixmapCache::cacheLimit() > 0);
    }
};

QTEST_MAIN(TstKioskPalette)
#include "tst_kioskpalette.moc"
