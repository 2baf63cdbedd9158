#include "HexCodec.h"
#include "HexEncrypt.h"
#include "LegacyHexCodec.h"

#include <QRegularExpression>
#include <QTest>

using UtilsLib::HexEncrypt;

class TestHexEncrypt : public QObject
{
    Q_OBJECT

private slots:
    void octet_data();
    void octet();
    void allOctetsRoundTrip();
    void encryptData_data();
    void encryptData();
    void decryptData_data();
    void decryptData();
    void hexCodecMatchesHexEncrypt();
    void legacyEncode_data();
    void legacyEncode();
    void legacyDecode_data();
    void legacyDecode();
    void legacyBufferForms();
};

void TestHexEncrypt::octet_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("hex");
    QTest::addRow("0x00") << 0x00 << "ae";
    QTest::addRow("0xff") << 0xff << "ad";
    QTest::addRow("0x80 carries bit 7 into bit 0") << 0x80 << "af";
    QTest::addRow("0x7f") << 0x7f << "ac";
    QTest::addRow("A") << 0x41 << "30";
}

void TestHexEncrypt::octet()
{
    QFETCH(int, byte);
    QFETCH(QString, hex);
    QCOMPARE(HexEncrypt::encryptOctet(static_cast<unsigned char>(byte)), hex);
    QCOMPARE(int(HexEncrypt::decryptOctet(hex)), byte);
    QCOMPARE(int(HexEncrypt::decryptOctet(hex.toUpper())), byte);
}

void TestHexEncrypt::allOctetsRoundTrip()
{
    QSet<QString> seen;
    for (int byte = 0; byte < 256; ++byte) {
        const QString hex = HexEncrypt::encryptOctet(static_cast<unsigned char>(byte));
        QCOMPARE(hex.size(), 2);
        QCOMPARE(int(HexEncrypt::decryptOctet(hex)), byte);
        seen.insert(hex);
    }
    QCOMPARE(seen.size(), 256);
}

void TestHexEncrypt::encryptData_data()
{
    // clang-format off
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");
    QTest::addRow("empty") << QString() << QString();
    QTest::addRow("ascii") << "abc" << "707274";
    QTest::addRow("default staff password") << "marrowlintel" << "887092928c9c86808a967886";
    QTest::addRow("two-byte utf-8") << QStringLiteral("é") << "3501";
    QTest::addRow("three-byte utf-8") << QStringLiteral("€") << "73b307";
    QTest::addRow("cjk") << QStringLiteral("日本") << "7bddf97be707";
    QTest::addRow("separators") << "a:b|c" << "702272a674";
    // clang-format on
}

void TestHexEncrypt::encryptData()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    const QString result = HexEncrypt::encryptData(plain);
    QCOMPARE(result, encoded);
    QCOMPARE(result.size(), plain.toUtf8().size() * 2);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]*$")).match(result).hasMatch());
    QCOMPARE(HexEncrypt::decryptData(result), plain);
}

void TestHexEncrypt::decryptData_data()
{
    // clang-format off
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("plain");
    QTest::addRow("empty") << QString() << QString();
    QTest::addRow("upper-case digits") << "707274" << "abc";
    QTest::addRow("upper-case hex") << "73B307" << QStringLiteral("€");
    QTest::addRow("odd trailing character ignored") << "7072747" << "abc";
    QTest::addRow("single character") << "7" << QString();
    QTest::addRow("non-hex pair reads as zero byte")
        << "70zz74" << QStringLiteral("a") + QChar(0x29) + "c";
    // clang-format on
}

void TestHexEncrypt::decryptData()
{
    QFETCH(QString, encoded);
    QFETCH(QString, plain);
    QCOMPARE(HexEncrypt::decryptData(encoded), plain);
}

void TestHexEncrypt::hexCodecMatchesHexEncrypt()
{
    const UtilsLib::HexCodec codec;
    const UtilsLib::TextCodec &asInterface = codec;
    const QString text = QStringLiteral("Grüße & <tags>");
    QCOMPARE(asInterface.encode(text), HexEncrypt::encryptData(text));
    QCOMPARE(asInterface.decode(asInterface.encode(text)), text);
}

void TestHexEncrypt::legacyEncode_data()
{
    // clang-format off
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");
    QTest::addRow("shifted") << "A" << "0";
    QTest::addRow("separator escaped") << "big" << QStringLiteral("r\u0080#^#");
    QTest::addRow("top bit lost") << QStringLiteral("é") << QStringLiteral("\u0080");
    QTest::addRow("ends at zero byte") << "a)b" << "p";
    QTest::addRow("non-latin1 taken as ?") << QStringLiteral("日") << ",";
    QTest::addRow("empty") << "" << "";
    // clang-format on
}

void TestHexEncrypt::legacyEncode()
{
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    const UtilsLib::LegacyHexCodec codec;
    QCOMPARE(codec.encode(plain), encoded);
    QCOMPARE(HexEncrypt::encryptLegacy(plain), encoded);
}

void TestHexEncrypt::legacyDecode_data()
{
    // clang-format off
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("roundTrip");
    QTest::addRow("printable ascii survives")
        << "Hello World?" << QStringLiteral("Hello\u00a0World?");
    QTest::addRow("separator survives") << "big|pig" << "big|pig";
    QTest::addRow("below K/2 not restored") << " " << QStringLiteral("\u00a0");
    QTest::addRow("top bit lost") << QStringLiteral("é") << "i";
    QTest::addRow("non-latin1") << QStringLiteral("日") << "?";
    QTest::addRow("cut at zero byte") << "a)b" << "a";
    // clang-format on
}

void TestHexEncrypt::legacyDecode()
{
    QFETCH(QString, plain);
    QFETCH(QString, roundTrip);
    const UtilsLib::LegacyHexCodec codec;
    QCOMPARE(codec.decode(codec.encode(plain)), roundTrip);
}

void TestHexEncrypt::legacyBufferForms()
{
    const QString limit(1024, QLatin1Char('A'));
    QVERIFY(!HexEncrypt::encryptLegacy(limit).isNull());
    QVERIFY(HexEncrypt::encryptLegacy(limit + QLatin1Char('A')).isNull());
    QVERIFY(HexEncrypt::decryptLegacy(limit + QLatin1Char('A')).isNull());
    // "#^#" without two characters after its start is not an escape.
    QCOMPARE(HexEncrypt::decryptLegacy(QStringLiteral("#^")).size(), 2);

    char out[8];
    QVERIFY(HexEncrypt::encryptLegacy("big", out, sizeof out));
    QCOMPARE(QByteArray(out), QByteArray("r\x80#^#"));
    char plain[8];
    QVERIFY(HexEncrypt::decryptLegacy(out, plain, sizeof plain));
    QCOMPARE(QByteArray(plain), QByteArray("big"));
    char small[3];
    QVERIFY(HexEncrypt::encryptLegacy("Hello", small, sizeof small));
    QCOMPARE(qstrlen(small), size_t(2));
    QVERIFY(!HexEncrypt::encryptLegacy(QByteArray(1025, 'A').constData(), out, sizeof out));
}

QTEST_GUILESS_MAIN(TestHexEncrypt)
#include "tst_hexencrypt.moc"
