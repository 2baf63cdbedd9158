#include "TsCurrency.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

class tst_TsCurrency : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void dollarsToCentsNumber_data();
    void dollarsToCentsNumber();
    void dollarsToCentsText_data();
    void dollarsToCentsText();
    void format_data();
    void format();
    void separatorAndSymbol_data();
    void separatorAndSymbol();
    void localeId();
};

void tst_TsCurrency::dollarsToCentsNumber_data()
{
    // clang-format off
    QTest::addColumn<double>("dollars");
    QTest::addColumn<long>("cents");

    QTest::addRow("rounds up") << 0.126 << 13L;
    QTest::addRow("negative rounds away from zero") << -0.126 << -13L;
    QTest::addRow("half cent") << 0.005 << 1L;
    QTest::addRow("below half") << 0.004 << 0L;
    QTest::addRow("zero") << 0.0 << 0L;
    QTest::addRow("whole") << 12.0 << 1200L;
    QTest::addRow("not a number") << std::nan("") << 0L;
    QTest::addRow("huge") << 1e300 << std::numeric_limits<long>::max();
    QTest::addRow("huge negative") << -1e300 << std::numeric_limits<long>::min();
    QTest::addRow("infinity")
        << std::numeric_limits<double>::infinity() << std::numeric_limits<long>::max();
    // clang-format on
}

void tst_TsCurrency::dollarsToCentsNumber()
{
    QFETCH(double, dollars);
    QTEST(TsCurrency::dollarsToCents(dollars), "cents");
}

void tst_TsCurrency::dollarsToCentsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<long>("cents");

    QTest::addRow("symbol and grouping") << "$1,234.50" << 123450L;
    QTest::addRow("euro after") << "12.99 €" << 1299L;
    QTest::addRow("negative") << "-$0.126" << -13L;
    QTest::addRow("html entity digits are kept too") << "&#36;1.00" << 361L * 100;
    QTest::addRow("empty") << "" << 0L;
    QTest::addRow("no digits") << "abc" << 0L;
    QTest::addRow("two points") << "1.2.3" << 0L;
    QTest::addRow("inner minus") << "1-2" << 0L;
}

void tst_TsCurrency::dollarsToCentsText()
{
    QFETCH(QString, text);
    QTEST(TsCurrency::dollarsToCents(text), "cents");
}

void tst_TsCurrency::format_data()
{
    // clang-format off
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("useCurrency");
    QTest::addColumn<long>("cents");
    QTest::addColumn<bool>("showSymbol");
    QTest::addColumn<QString>("expected");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::addRow("plain cents") << us << false << 150L << true << "150";
    QTest::addRow("plain negative") << us << false << -7L << false << "-7";
    QTest::addRow("us") << us << true << 150L << true << "$1.50";
    QTest::addRow("us grouping") << us << true << 123456789L << true << "$1,234,567.89";
    QTest::addRow("us no symbol") << us << true << 150L << false << "1.50";
    QTest::addRow("us zero") << us << true << 0L << true << "$0.00";
    // German money puts a no-break space before the symbol; only the symbol goes.
    QTest::addRow("de") << de << true << 150L << true << QString::fromUtf8("1,50\u00a0€");
    QTest::addRow("de grouping no symbol")
        << de << true << 123450L << false << QString::fromUtf8("1.234,50\u00a0");
    QTest::addRow("de negative") << de << true << -5L << true << QString::fromUtf8("-0,05\u00a0€");
    // clang-format on
}

void tst_TsCurrency::format()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, useCurrency);
    QFETCH(long, cents);
    QFETCH(bool, showSymbol);

    QLocale::setDefault(locale);
    QTEST(TsCurrency(useCurrency).format(cents, showSymbol), "expected");
}

void tst_TsCurrency::separatorAndSymbol_data()
{
    // clang-format off
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("symbol");

    QTest::addRow("us") << QLocale(QLocale::English, QLocale::UnitedStates) << "." << "$";
    QTest::addRow("de") << QLocale(QLocale::German, QLocale::Germany) << "," << "€";
    QTest::addRow("gb") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "." << "£";
    // clang-format on
}

void tst_TsCurrency::separatorAndSymbol()
{
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    const TsCurrency currency(true);
    QTEST(currency.getCurrencySeparator(), "separator");
    QTEST(currency.getCurrencySymbol(), "symbol");
}

void tst_TsCurrency::localeId()
{
    QVERIFY(TsCurrency::setLocaleId(1033));
    QCOMPARE(TsCurrency::localeId(), 1033UL);
}

QTEST_GUILESS_MAIN(tst_TsCurrency)
#include "tst_tscurrency.moc"
