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
    void decodeAmount_data();
    void decodeAmount();
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

void tst_TsCurrency::decodeAmount_data()
{
    // clang-format off
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("expected");
    QTest::addRow("decimal reference") << "&#36;0.50" << "$0.50";
    QTest::addRow("hexadecimal reference") << "&#x20AC;1&#X24;" << QStringLiteral("\u20ac1$");
    QTest::addRow("the Print Service's wrapper") << "<html>&#36;</html>0.20" << "$0.20";
    QTest::addRow("wrapper in capitals") << "<HTML>&#36;</Html>1" << "$1";
    QTest::addRow("named references") << "&pound;2&nbsp;&amp;&lt;&gt;" << QStringLiteral("\u00a32\u00a0&<>");
    QTest::addRow("a character beyond 16 bits") << "&#x1F4B0;" << QStringLiteral("\U0001F4B0");
    QTest::addRow("other tags stay text") << "<img src=\"/dev/zero\">" << "<img src=\"/dev/zero\">";
    QTest::addRow("one pass: a decoded reference is not read again") << "&amp;#36;" << "&#36;";
    QTest::addRow("nor a decoded tag") << "&lt;html&gt;1" << "<html>1";
    QTest::addRow("no semicolon") << "&#36 0.50" << "&#36 0.50";
    QTest::addRow("unknown name") << "&dollar;1" << "&dollar;1";
    QTest::addRow("no digits") << "&#;&#x;" << "&#;&#x;";
    QTest::addRow("not digits") << "&#3a;&#xG;" << "&#3a;&#xG;";
    QTest::addRow("NUL and controls") << "&#0;&#9;&#x7f;" << "&#0;&#9;&#x7f;";
    // Format characters would show the amount in another order than it is read.
    QTest::addRow("bidirectional override") << "&#8238;05.0&#36;" << "&#8238;05.0$";
    QTest::addRow("marks, isolates, invisible characters, separators")
        << "&#x200F;&#x2067;&#x61C;&#xFEFF;&#x200B;&#xAD;&#x2028;1" << "&#x200F;&#x2067;&#x61C;&#xFEFF;&#x200B;&#xAD;&#x2028;1";
    QTest::addRow("raw controls and format characters are left out")
        << QStringLiteral("\u202e$\u200e0.\t5\u20660\u0085\u2029\r\n") << "$0.50";
    QTest::addRow("a raw character beyond 16 bits stays, a lone surrogate goes")
        << QString(QStringLiteral("\U0001F4B0")) + QChar(0xD800) + QStringLiteral("1") << QStringLiteral("\U0001F4B01");
    QTest::addRow("surrogate") << "&#xD800;" << "&#xD800;";
    QTest::addRow("beyond Unicode") << "&#x110000;&#99999999999;" << "&#x110000;&#99999999999;";
    QTest::addRow("a lone ampersand") << "Tom & Jerry &" << "Tom & Jerry &";
    // clang-format on
}

void tst_TsCurrency::decodeAmount()
{
    QFETCH(QString, amount);
    QTEST(TsCurrency::decodeAmount(amount), "expected");
}

QTEST_GUILESS_MAIN(tst_TsCurrency)
#include "tst_tscurrency.moc"
