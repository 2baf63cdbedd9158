#include "ImageButton.h"
#include "ImageButtonPainter.h"

#include <QPainter>
#include <QTest>

namespace {
QPixmap solid(const QColor &colour, const QSize &size = QSize(73, 25))
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

class CountingPainter : public UtilsLib::ImageButtonPainter
{
public:
    using ImageButtonPainter::ImageButtonPainter;
    void paint(QPainter *painter) override
    {
        ++paints;
        ImageButtonPainter::paint(painter);
    }
    int paints = 0;
};
} // namespace

class TstImageButton : public QObject
{
    Q_OBJECT

private slots:
    void pictureAndTextColour_data()
    {
        // clang-format off
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("hasDisabledImage");
        QTest::addColumn<QColor>("picture");
        QTest::addColumn<QColor>("text");
        QTest::addRow("enabled") << true << true << QColor(Qt::blue) << QColor(Qt::black);
        QTest::addRow("disabled with picture")
            << false << true << QColor(Qt::red) << QColor(Qt::gray);
        QTest::addRow("disabled without picture")
            << false << false << QColor(Qt::blue) << QColor(Qt::gray);
        // clang-format on
    }
    void pictureAndTextColour()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, hasDisabledImage);
        QFETCH(QColor, picture);
        QFETCH(QColor, text);
        UtilsLib::ImageButton button(QStringLiteral("OK"), nullptr, "okButton");
        QCOMPARE(button.objectName(), QStringLiteral("okButton"));
        button.setEnabledImage(solid(Qt::blue));
        if (hasDisabledImage)
            button.setDisabledImage(solid(Qt::red));
        button.setEnabled(enabled);
        UtilsLib::ImageButtonPainter painter(&button);
        QCOMPARE(painter.currentPicture().toImage().pixelColor(5, 5), picture);
        QCOMPARE(painter.currentTextColor(), text);

        // What reaches the screen: the picture fills the button.
        button.resize(120, 40);
        const QImage shot = button.grab().toImage();
        QCOMPARE(shot.pixelColor(2, 2), picture);
        QCOMPARE(shot.pixelColor(117, 37), picture);
    }

    void marginsTakeTheEdgeColour()
    {
        // A picture with a white frame: the button's margins are white too.
        QPixmap framed = solid(Qt::white);
        QPainter(&framed).fillRect(QRect(3, 3, 67, 19), Qt::darkGreen);
        UtilsLib::ImageButton button {QString()};
        button.setEnabledImage(framed);
        button.resize(146, 50);
        const QImage shot = button.grab().toImage();
        QCOMPARE(shot.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(73, 25), QColor(Qt::darkGreen));
    }

    void textIsDrawnOverThePicture()
    {
        UtilsLib::ImageButton button(QStringLiteral("WWWW"));
        button.setEnabledImage(solid(Qt::white));
        button.resize(100, 30);
        const QImage shot = button.grab().toImage();
        bool dark = false;
        for (int x = 30; x < 70 && !dark; ++x)
            dark = shot.pixelColor(x, 15).lightness() < 128;
        QVERIFY(dark);
    }

    void borrowedPainterIsUsed()
    {
        UtilsLib::ImageButton button(QStringLiteral("OK"));
        button.setEnabledImage(solid(Qt::blue));
        {
            CountingPainter painter(&button);
            button.setPainter(&painter);
            QCOMPARE(button.painter(), &painter);
            button.grab();
            QCOMPARE(painter.paints, 1);
            button.setPainter(nullptr);
        }
        button.grab(); // a painter of its own again
    }

    void withoutPictureLooksLikeAButton()
    {
        UtilsLib::ImageButton button(QStringLiteral("OK"));
        QVERIFY(button.enabledImage().isNull());
        QVERIFY(!button.grab().isNull());
        button.setEnabledImage(solid(Qt::blue, QSize(200, 46)));
        QVERIFY(button.sizeHint().width() >= 200);
        QVERIFY(button.sizeHint().height() >= 46);
    }
};

QTEST_MAIN(TstImageButton)
#include "tst_imagebutton.moc"
