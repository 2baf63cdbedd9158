// On a screen scaled by 2 the language flags come with twice the pixels at the
// size they have at 1x.
#include "LanguageSelectorExtension.h"
#include "TsBaseDialog.h"

#include <QApplication>
#include <QTest>

class TstFlagPictures : public QObject
{
    Q_OBJECT

private slots:
    void flagsSharpAtTwice()
    {
        TsBaseDialog::setApplicationFolder(QStringLiteral(PELLORA_APP_DIR));
        for (const char *code : {"EN_US", "FR_CA", "ES_US", "DE_DE"}) {
            const QPixmap flag = LanguageSelectorExtension::loadFlag(QLatin1String(code));
            QCOMPARE(flag.devicePixelRatio(), 2.0);
            QCOMPARE(flag.deviceIndependentSize().toSize(), QSize(45, 30));
        }
        TsBaseDialog::setApplicationFolder(QString());
    }
};

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TstFlagPictures test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_flagpictures.moc"
