#include "LegacyHexCodec.h"
#include "NumericUnits.h"
#include "PreferencesEntry.h"
#include "TestEnvironment.h"
#include "XmlPreferences.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

using UtilsLib::NumericUnits;
using UtilsLib::PreferencesEntry;
using UtilsLib::XmlPreferences;

namespace {
const QByteArray Header = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"
                          "<Settings>\r\n"
                          "<version>1.1</version>\r\n";

} // namespace

class TestXmlPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void savedFileBytes();
    void emptyStoreBytes();
    void roundTrip_data();
    void roundTrip();
    void lookupIgnoresCase();
    void defaults();
    void unitConversion_data();
    void unitConversion();
    void conversionFailures();
    void renameEntry_data();
    void renameEntry();
    void loadNaming_data();
    void loadNaming();
    void loadKeepsAndReplacesEntries();
    void readsOlderFiles_data();
    void readsOlderFiles();
    void badInput_data();
    void badInput();
    void largeValueLoads();
    void saveCreatesDirectories();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();
    void copyAndImport();
    void unsupportedOperations();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestXmlPreferences::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestXmlPreferences::savedFileBytes()
{
    XmlPreferences store(QStringLiteral("Test Store"));
    store.set(QStringLiteral("Print Service"), QStringLiteral("host&<co>"));
    store.set(QStringLiteral("Dedicated Mode"), 1);
    store.set(QStringLiteral("password"), QStringLiteral("secret"), true);
    store.set(QStringLiteral("Timeout"), 2, NumericUnits::MINUTES);
    store.set(QStringLiteral("Token"), QStringLiteral("abc"), QStringLiteral("hours"), true);
    store.set(QStringLiteral("_low"), QStringLiteral("é"));
    store.set(QStringLiteral("apple"), QStringLiteral("x"));

    const QString file = path(QStringLiteral("store.xml"));
    QVERIFY(store.save(file));
    QCOMPARE(store.path(), file);
    const QByteArray expected = Header
        + "<type>Test Store</type>\r\n"
          "<entry name='apple'>x</entry>\r\n"
          "<entry name='Dedicated Mode'>1</entry>\r\n"
          "<entry name='password' encrypted='1'>947874927896</entry>\r\n"
          "<entry name='Print Service'>host&amp;&lt;co&gt;</entry>\r\n"
          "<entry name='Timeout' units='minutes'>2</entry>\r\n"
          "<entry name='Token' encrypted='1' units='hours'>707274</entry>\r\n"
          "<entry name='_low'>\xc3\xa9</entry>\r\n"
          "</Settings>\r\n";
    QCOMPARE(readAll(file), expected);
    QCOMPARE(
        store.getData(QStringLiteral("\n")).toUtf8(), QByteArray(expected).replace("\r\n", "\n"));

    // flush writes the same bytes again to the remembered path.
    QVERIFY(QFile::remove(file));
    QVERIFY(store.flush());
    QCOMPARE(readAll(file), expected);

    PreferencesEntry legacy(QStringLiteral("n"), QStringLiteral("A"), QString());
    legacy.setEncryptWhenSaving(true);
    QCOMPARE(legacy.asXml(UtilsLib::LegacyHexCodec()),
        QStringLiteral("<entry name='n' encrypted='1'>0</entry>"));
}

void TestXmlPreferences::emptyStoreBytes()
{
    XmlPreferences store(QStringLiteral("Mac Printer Connector"));
    const QString file = path(QStringLiteral("empty.tsp"));
    QVERIFY(store.save(file));
    QCOMPARE(readAll(file), Header + "<type>Mac Printer Connector</type>\r\n</Settings>\r\n");

    XmlPreferences reread(QStringLiteral("other"));
    QVERIFY(reread.load(file, false));
    QCOMPARE(reread.count(), 0);
    QCOMPARE(reread.name(), QStringLiteral("other"));

    // A store name with markup characters must not make the file unreadable.
    XmlPreferences odd(QStringLiteral("Tom & Jerry's <store>"));
    odd.set(QStringLiteral("k"), QStringLiteral("v"));
    QVERIFY(odd.save(file));
    QVERIFY(readAll(file).contains("<type>Tom &amp; Jerry&apos;s &lt;store&gt;</type>\r\n"));
    QVERIFY(reread.load(file, false));
    QCOMPARE(reread.get(QStringLiteral("k"), QString()), QStringLiteral("v"));
}

void TestXmlPreferences::roundTrip_data()
{
    // clang-format off
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("units");
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QByteArray>("written");

    QTest::addRow("xml specials in value")
        << "v" << "&<>\"'" << "" << false
        << QByteArray("<entry name='v'>&amp;&lt;&gt;&quot;&apos;</entry>");
    QTest::addRow("entity text kept literally")
        << "v" << "&amp; ]]>" << "" << false
        << QByteArray("<entry name='v'>&amp;amp; ]]&gt;</entry>");
    QTest::addRow("apostrophe and ampersand in name and units")
        << "it's & co" << "1" << "o'clock" << false
        << QByteArray("<entry name='it&apos;s &amp; co' units='o&apos;clock'>1</entry>");
    QTest::addRow("less-than in name")
        << "a<b" << "1" << "" << false << QByteArray("<entry name='a&lt;b'>1</entry>");
    QTest::addRow("line ends in value")
        << "v" << "one\r\ntwo\nthree" << "" << false
        << QByteArray("<entry name='v'>one&#13;\ntwo\nthree</entry>");
    QTest::addRow("tab and line end in name")
        << "a\tb\nc" << "1" << "" << false << QByteArray("<entry name='a&#9;b&#10;c'>1</entry>");
    QTest::addRow("surrounding blanks")
        << "v" << "  x  " << "" << false << QByteArray("<entry name='v'>  x  </entry>");
    QTest::addRow("non-ascii")
        << QStringLiteral("Grüße") << QStringLiteral("日本") << "" << false
        << QByteArray("<entry name='Gr\xc3\xbc\xc3\x9f\x65'>\xe6\x97\xa5\xe6\x9c\xac</entry>");
    QTest::addRow("empty value")
        << "v" << "" << "" << false << QByteArray("<entry name='v'></entry>");
    QTest::addRow("encrypted empty value")
        << "v" << "" << "" << true << QByteArray("<entry name='v' encrypted='1'></entry>");
    QTest::addRow("encrypted specials")
        << "v" << "<'&'>" << "" << true
        << QByteArray("<entry name='v' encrypted='1'>26fcfafc2a</entry>");
    // clang-format on
}

void TestXmlPreferences::roundTrip()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, units);
    QFETCH(bool, encrypt);
    QFETCH(QByteArray, written);

    XmlPreferences store(QStringLiteral("t"));
    store.set(name, value, units, encrypt);
    store.set(QStringLiteral("zz after"), QStringLiteral("still here"));
    const QString file = path(QStringLiteral("round.xml"));
    QVERIFY(store.save(file));
    QVERIFY2(readAll(file).contains(written + "\r\n"), readAll(file).constData());

    XmlPreferences reread(QStringLiteral("t"));
    QVERIFY(reread.load(file, false));
    QCOMPARE(reread.count(), 2);
    const PreferencesEntry entry = reread.getEntry(name, QStringLiteral("missing"), QString());
    QCOMPARE(entry.name(), name);
    QCOMPARE(entry.value(), value);
    QCOMPARE(entry.units(), units);
    QCOMPARE(entry.encryptWhenSaving(), encrypt);
    QCOMPARE(reread.get(QStringLiteral("ZZ AFTER"), QString()), QStringLiteral("still here"));
}

void TestXmlPreferences::lookupIgnoresCase()
{
    XmlPreferences store(QStringLiteral("t"));
    store.set(QStringLiteral("Dedicated Mode"), 0);
    QCOMPARE(store.getInt(QStringLiteral("DEDICATED MODE"), 1), 0);
    QCOMPARE(store.get(QStringLiteral("dedicated mode"), QStringLiteral("x")), QStringLiteral("0"));
    QVERIFY(store.exists(QStringLiteral("Dedicated Mode")));
    QVERIFY(!store.exists(QStringLiteral("DEDICATED MODE")));

    store.set(QStringLiteral("ABC"), QStringLiteral("upper"), QStringLiteral("hours"), true);
    store.set(QStringLiteral("abc"), QStringLiteral("lower"));
    QCOMPARE(store.count(), 2);
    const PreferencesEntry entry = store.getEntry(QStringLiteral("Abc"), QString(), QString());
    QCOMPARE(entry.name(), QStringLiteral("abc"));
    QCOMPARE(entry.value(), QStringLiteral("lower"));
    QVERIFY(entry.units().isEmpty());
    QVERIFY(!entry.encryptWhenSaving());

    const QString file = path(QStringLiteral("case.xml"));
    QVERIFY(store.save(file));
    const QByteArray data = readAll(file);
    QVERIFY(data.contains("<entry name='Dedicated Mode'>0</entry>"));
    QVERIFY(data.contains("<entry name='abc'>lower</entry>"));
    QVERIFY(!data.contains("ABC"));

    store.remove(QStringLiteral("DEDICATED mode"));
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.getAllAsSet(),
        (QSet<std::pair<QString, QString>> {{QStringLiteral("abc"), QStringLiteral("lower")}}));
    store.clear();
    QCOMPARE(store.count(), 0);
    QVERIFY(store.name().isEmpty());
}

void TestXmlPreferences::defaults()
{
    XmlPreferences store(QStringLiteral("t"));
    QCOMPARE(store.get(QStringLiteral("missing"), 7, NumericUnits::SECONDS), 7);
    QCOMPARE(store.getInt(QStringLiteral("missing"), -3), -3);
    QCOMPARE(store.get(QStringLiteral("missing"), QStringLiteral("x")), QStringLiteral("x"));
    QCOMPARE(store.getUnitsFor(QStringLiteral("missing")), QStringLiteral("unknown"));
    const PreferencesEntry entry
        = store.getEntry(QStringLiteral("Missing"), QStringLiteral("d"), QStringLiteral("days"));
    QCOMPARE(entry.name(), QStringLiteral("Missing"));
    QCOMPARE(entry.units(), QStringLiteral("days"));
    QCOMPARE(store.count(), 0);

    store.set(QStringLiteral("plain"), 4);
    QCOMPARE(store.getUnitsFor(QStringLiteral("PLAIN")), QStringLiteral("unknown"));
    store.set(QStringLiteral("timed"), 4, NumericUnits::HOURS);
    QCOMPARE(store.getUnitsFor(QStringLiteral("timed")), QStringLiteral("hours"));
}

void TestXmlPreferences::unitConversion_data()
{
    // clang-format off
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("units");
    QTest::addColumn<QString>("askedUnits");
    QTest::addColumn<int>("expected");

    QTest::addRow("2 minutes as seconds") << "2" << "minutes" << "seconds" << 120;
    QTest::addRow("2 minutes plain") << "2" << "minutes" << "" << 2;
    QTest::addRow("unit not in table") << "3" << "weeks" << "seconds" << 3;
    QTest::addRow("asked unit not in table") << "3" << "minutes" << "fortnights" << 3;
    QTest::addRow("no units") << "5" << "" << "seconds" << 5;
    QTest::addRow("half rounds up") << "90" << "seconds" << "minutes" << 2;
    QTest::addRow("negative half rounds away from zero") << "-90" << "seconds" << "minutes" << -2;
    QTest::addRow("below half rounds down") << "89" << "seconds" << "minutes" << 1;
    QTest::addRow("milliseconds") << "1500" << "milliseconds" << "seconds" << 2;
    QTest::addRow("hours as milliseconds") << "1" << "hours" << "milliseconds" << 3600000;
    QTest::addRow("days as hours") << "1" << "days" << "hours" << 24;
    QTest::addRow("upper-case units") << "1" << "MINUTES" << "Seconds" << 60;
    QTest::addRow("not a number") << "abc" << "minutes" << "seconds" << 0;
    QTest::addRow("decimal is not a number") << "2.5" << "" << "" << 0;
    // clang-format on
}

void TestXmlPreferences::unitConversion()
{
    QFETCH(QString, value);
    QFETCH(QString, units);
    QFETCH(QString, askedUnits);
    QFETCH(int, expected);

    XmlPreferences store(QStringLiteral("t"));
    store.set(QStringLiteral("Timeout"), value, units, false);
    QCOMPARE(store.get(QStringLiteral("timeout"), 99, askedUnits), expected);
}

void TestXmlPreferences::conversionFailures()
{
    QCOMPARE(NumericUnits::convert(3, QStringLiteral("Hours"), NumericUnits::MINUTES), 180L);
    QCOMPARE(NumericUnits::getFactorFor(QStringLiteral("milliseconds")), 0.001);
    try {
        NumericUnits::getFactorFor(QStringLiteral("Weeks"));
        QFAIL("no exception");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()),
            QStringLiteral(
                "Conversion Failure: Unable to get conversion factor from Weeks to seconds"));
    }
    try {
        NumericUnits::convert(1, QStringLiteral("seconds"), QString());
        QFAIL("no exception");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QString::fromUtf8(error.what()),
            QStringLiteral("Conversion Failure: Could not convert from seconds to "));
    }
}

void TestXmlPreferences::renameEntry_data()
{
    // clang-format off
    QTest::addColumn<QString>("oldValue"); // null: no old entry
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("expectedValue"); // null: no new entry
    QTest::addColumn<QString>("expectedUnits");
    QTest::addColumn<bool>("oldKept");

    QTest::addRow("moves value and units") << "5" << false << "5" << "minutes" << false;
    QTest::addRow("empty old value, create") << "" << true << "def" << "days" << true;
    QTest::addRow("empty old value, no create") << "" << false << QString() << QString() << true;
    QTest::addRow("missing, create") << QString() << true << "def" << "days" << false;
    QTest::addRow("missing, no create") << QString() << false << QString() << QString() << false;
    // clang-format on
}

void TestXmlPreferences::renameEntry()
{
    QFETCH(QString, oldValue);
    QFETCH(bool, create);
    QFETCH(QString, expectedValue);
    QFETCH(QString, expectedUnits);
    QFETCH(bool, oldKept);

    XmlPreferences store(QStringLiteral("t"));
    if (!oldValue.isNull())
        store.set(QStringLiteral("Old Name"), oldValue, QStringLiteral("minutes"), true);
    store.rename(QStringLiteral("old name"), QStringLiteral("New Name"), create,
        QStringLiteral("def"), QStringLiteral("days"));

    QCOMPARE(store.exists(QStringLiteral("Old Name")), oldKept);
    if (expectedValue.isNull()) {
        QCOMPARE(store.count(), oldKept ? 1 : 0);
        return;
    }
    const PreferencesEntry entry = store.getEntry(QStringLiteral("new name"), QString(), QString());
    QCOMPARE(entry.value(), expectedValue);
    QCOMPARE(entry.units(), expectedUnits);
    QVERIFY(!entry.encryptWhenSaving());
    // A moved entry takes the new name upper-cased; a created one keeps its case.
    QCOMPARE(
        entry.name(), oldValue.isEmpty() ? QStringLiteral("New Name") : QStringLiteral("NEW NAME"));
}

void TestXmlPreferences::loadNaming_data()
{
    // clang-format off
    QTest::addColumn<QString>("storeName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("asUrl");
    QTest::addColumn<QString>("expectedName");

    QTest::addRow("sample takes base name")
        << "Sample Settings" << "site.conf.xml" << false << "site.conf";
    QTest::addRow("sample, no extension") << "Sample Settings" << "site" << false << "site";
    QTest::addRow("sample, file url") << "Sample Settings" << "my site.xml" << true << "my site";
    QTest::addRow("other name kept") << "Mine" << "site.conf.xml" << false << "Mine";
    QTest::addRow("hash in file name") << "Sample Settings" << "a#b.xml" << false << "a#b";
    // clang-format on
}

void TestXmlPreferences::loadNaming()
{
    QFETCH(QString, storeName);
    QFETCH(QString, fileName);
    QFETCH(bool, asUrl);
    QFETCH(QString, expectedName);

    XmlPreferences writer(QStringLiteral("Different Type"));
    writer.set(QStringLiteral("k"), QStringLiteral("v"));
    QVERIFY(writer.save(path(fileName)));

    XmlPreferences store(storeName);
    const QString source = asUrl ? QUrl::fromLocalFile(path(fileName)).toString() : path(fileName);
    QVERIFY(store.load(source, false));
    QCOMPARE(store.name(), expectedName);
    QCOMPARE(store.path(), path(fileName));
    QCOMPARE(store.get(QStringLiteral("K"), QString()), QStringLiteral("v"));
}

void TestXmlPreferences::loadKeepsAndReplacesEntries()
{
    XmlPreferences writer(QStringLiteral("t"));
    writer.set(QStringLiteral("SHARED"), QStringLiteral("from file"));
    writer.set(QStringLiteral("file only"), QStringLiteral("f"));
    const QString file = path(QStringLiteral("merge.xml"));
    QVERIFY(writer.save(file));

    XmlPreferences store(QStringLiteral("t"));
    store.set(QStringLiteral("shared"), QStringLiteral("in memory"), QStringLiteral("hours"), true);
    store.set(QStringLiteral("memory only"), QStringLiteral("m"));
    QVERIFY(store.load(file, false));
    QCOMPARE(store.count(), 3);
    const PreferencesEntry shared = store.getEntry(QStringLiteral("Shared"), QString(), QString());
    QCOMPARE(shared.name(), QStringLiteral("SHARED"));
    QCOMPARE(shared.value(), QStringLiteral("from file"));
    QVERIFY(shared.units().isEmpty());
    QVERIFY(!shared.encryptWhenSaving());
    QCOMPARE(store.get(QStringLiteral("memory only"), QString()), QStringLiteral("m"));

    QVERIFY(store.removeNode());
    QVERIFY(!QFile::exists(file));
}

void TestXmlPreferences::readsOlderFiles_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("encrypted");

    QTest::addRow("lf line ends, other type")
        << QByteArray("<?xml version=\"1.0\"?>\n<Settings>\n<version>9</version>\n<type>x</type>\n"
                      "<entry name='Dedicated Mode'>0</entry>\n</Settings>\n")
        << "Dedicated Mode"
        << "0" << false;
    QTest::addRow("no declaration, double quotes, extra elements") << QByteArray(
        "<Settings><extra a=\"1\"/><entry units=\"minutes\" name=\"t\">2</entry></Settings>")
                                                                   << "t"
                                                                   << "2" << false;
    QTest::addRow("encrypted other than 1 is plain")
        << QByteArray("<Settings><entry name='p' encrypted='yes'>707274</entry></Settings>") << "p"
        << "707274" << false;
    QTest::addRow("encrypted upper-case hex")
        << QByteArray("<Settings><entry name='p' encrypted='1'>73B307</entry></Settings>") << "p"
        << QStringLiteral("€") << true;
    QTest::addRow("character references and cdata")
        << QByteArray("<Settings><entry name='v'>&#65;<![CDATA[<b>]]>&amp;</entry></Settings>")
        << "v" << "A<b>&" << false;
    QTest::addRow("prefixed element is not an entry")
        << QByteArray("<Settings><x:entry name='v'>1</x:entry><entry name='w'>2</entry></Settings>")
        << "w" << "2" << false;
    QTest::addRow("invalid utf-8 becomes replacement character")
        << QByteArray("<Settings><entry name='v'>a\xff\x62</entry></Settings>") << "v"
        << QStringLiteral("a\ufffdb") << false;
    QTest::addRow("byte order mark")
        << QByteArray("\xef\xbb\xbf<Settings><entry name='v'>\xc3\xa9</entry></Settings>") << "v"
        << QStringLiteral("é") << false;
    // clang-format on
}

void TestXmlPreferences::readsOlderFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, encrypted);

    const QString file = path(QStringLiteral("old.xml"));
    QVERIFY(writeAll(file, content));
    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(store.load(file, false));
    QCOMPARE(store.count(), 1);
    const PreferencesEntry entry = store.getEntry(name, QStringLiteral("missing"), QString());
    QCOMPARE(entry.value(), value);
    QCOMPARE(entry.encryptWhenSaving(), encrypted);
}

void TestXmlPreferences::badInput_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("content"); // null: the path is a folder
    QTest::addColumn<bool>("createFile");
    QTest::addColumn<int>("entriesKept");

    const QByteArray twoEntries
        = Header + "<type>t</type>\r\n<entry name='a'>1</entry>\r\n<entry name='b'>2</entry>\r\n";
    QTest::addRow("missing file") << QByteArray() << false << 0;
    QTest::addRow("folder instead of file") << QByteArray() << true << 0;
    QTest::addRow("empty file") << QByteArray("") << true << 0;
    QTest::addRow("mismatched end tag")
        << QByteArray(twoEntries + "<entry name='c'>3</wrong>\r\n</Settings>\r\n") << true << 2;
    QTest::addRow("truncated inside an entry")
        << QByteArray(twoEntries + "<entry name='c'>3") << true << 2;
    QTest::addRow("truncated after the entries") << twoEntries << true << 2;
    QTest::addRow("unescaped apostrophe in name")
        << QByteArray(Header + "<type>t</type>\r\n<entry name='it's'>1</entry>\r\n</Settings>\r\n")
        << true << 0;
    QTest::addRow("bare ampersand in value")
        << QByteArray(twoEntries + "<entry name='c'>a & b</entry>\r\n</Settings>\r\n") << true << 2;
    QTest::addRow("nul byte") << QByteArray(twoEntries + QByteArray(3, '\0')) << true << 2;
    QTest::addRow("two root elements")
        << QByteArray("<Settings><entry name='a'>1</entry></Settings><Settings/>") << true << 1;

    QByteArray garbage(4096, Qt::Uninitialized);
    QRandomGenerator generator(4711);
    generator.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    garbage[0] = '\x01';
    QTest::addRow("binary garbage") << garbage << true << 0;

    QByteArray big(10 * 1024 * 1024, Qt::Uninitialized);
    generator.fillRange(reinterpret_cast<quint32 *>(big.data()), big.size() / 4);
    QTest::addRow("10 MB after two entries") << QByteArray(twoEntries + big) << true << 2;
    // clang-format on
}

void TestXmlPreferences::badInput()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, createFile);
    QFETCH(int, entriesKept);

    const QString file = path(QStringLiteral("bad.xml"));
    if (createFile && content.isNull())
        QVERIFY(QDir().mkdir(file));
    else if (createFile)
        QVERIFY(writeAll(file, content));

    XmlPreferences store(QStringLiteral("t"));
    QVERIFY(!store.load(file, false));
    QCOMPARE(store.count(), entriesKept);
    QCOMPARE(store.path(), file);

    XmlPreferences accepting(QStringLiteral("t"));
    QVERIFY(accepting.load(file, true));
    QCOMPARE(accepting.count(), entriesKept);
    QVERIFY(!accepting.load(static_cast<QIODevice *>(nullptr)));
}

void TestXmlPreferences::largeValueLoads()
{
    const QString value(10 * 1024 * 1024, QLatin1Char('x'));
    XmlPreferences store(QStringLiteral("t"));
    store.set(QStringLiteral("big"), value);
    const QString file = path(QStringLiteral("big.xml"));
    QVERIFY(store.save(file));

    XmlPreferences reread(QStringLiteral("t"));
    QVERIFY(reread.load(file, false));
    QCOMPARE(reread.get(QStringLiteral("big"), QString()).size(), value.size());
}

void TestXmlPreferences::saveCreatesDirectories()
{
    XmlPreferences store(QStringLiteral("t"));
    store.set(QStringLiteral("k"), QStringLiteral("v"));
    const QString file = path(QStringLiteral("one/two/three/prefs.tsp"));
    QVERIFY(store.save(file));
    XmlPreferences reread(QStringLiteral("t"));
    QVERIFY(reread.load(file, false));
    QCOMPARE(reread.get(QStringLiteral("k"), QString()), QStringLiteral("v"));
}

void TestXmlPreferences::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("fullDisk");

    QTest::addRow("parent is a regular file") << "blocker/prefs.tsp" << false;
    QTest::addRow("deeper below a regular file") << "blocker/sub/prefs.tsp" << false;
    QTest::addRow("target is a folder") << "folder" << false;
    QTest::addRow("disk full while writing") << "prefs.tsp" << true;
}

void TestXmlPreferences::failedSaveKeepsPreviousFile()
{
    QFETCH(QString, target);
    QFETCH(bool, fullDisk);

    XmlPreferences previous(QStringLiteral("t"));
    previous.set(QStringLiteral("Dedicated Mode"), 0);
    QVERIFY(previous.save(path(QStringLiteral("prefs.tsp"))));
    const QByteArray previousBytes = readAll(path(QStringLiteral("prefs.tsp")));
    QVERIFY(writeAll(path(QStringLiteral("blocker")), "not a folder"));
    QVERIFY(QDir().mkdir(path(QStringLiteral("folder"))));

    XmlPreferences store(QStringLiteral("t"));
    store.set(QStringLiteral("Big"), QString(256 * 1024, QLatin1Char('y')));
    bool saved;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (fullDisk)
            limit = std::make_unique<FileSizeLimit>(4096);
        saved = store.save(path(target));
    }
    QVERIFY(!saved);
    QCOMPARE(readAll(path(QStringLiteral("prefs.tsp"))), previousBytes);
    QCOMPARE(readAll(path(QStringLiteral("blocker"))), QByteArray("not a folder"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        (QStringList {
            QStringLiteral("blocker"), QStringLiteral("folder"), QStringLiteral("prefs.tsp")}));
}

void TestXmlPreferences::copyAndImport()
{
    XmlPreferences original(QStringLiteral("orig"));
    original.set(QStringLiteral("k"), QStringLiteral("v"), true);
    QVERIFY(original.save(path(QStringLiteral("orig.xml"))));

    XmlPreferences copy(original);
    QCOMPARE(copy.name(), QStringLiteral("orig"));
    QVERIFY(copy.path().isEmpty());
    QVERIFY(copy.getEntry(QStringLiteral("K"), QString(), QString()).encryptWhenSaving());
    XmlPreferences assigned(QStringLiteral("other"));
    assigned = original;
    QCOMPARE(assigned.count(), 1);
    QVERIFY(assigned.path().isEmpty());

    XmlPreferences imported(QStringLiteral("imp"));
    QMap<QString, UtilsLib::Preference> values;
    values.insert(QStringLiteral("k"), UtilsLib::Preference(QStringLiteral("replaced")));
    values.insert(QStringLiteral("extra"), UtilsLib::Preference(QStringLiteral("e")));
    QVERIFY(imported.import(values, path(QStringLiteral("orig.xml"))));
    QCOMPARE(imported.count(), 2);
    QCOMPARE(imported.get(QStringLiteral("K"), QString()), QStringLiteral("replaced"));
    QVERIFY(!imported.getEntry(QStringLiteral("K"), QString(), QString()).encryptWhenSaving());
    QVERIFY(imported.import(values, path(QStringLiteral("missing.xml"))));
}

void TestXmlPreferences::unsupportedOperations()
{
    XmlPreferences store(QStringLiteral("t"));
    try {
        store.getAll();
        QFAIL("no exception");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QByteArray(error.what()), QByteArray("XmlPreferences::getAll() not implemented"));
    }
    try {
        XmlPreferences::configPath(QStringLiteral("t"));
        QFAIL("no exception");
    } catch (const std::runtime_error &error) {
        QCOMPARE(QByteArray(error.what()),
            QByteArray("configPath not implemented for non-windows machines"));
    }
    QVERIFY(!store.flush());
    QVERIFY(!store.removeNode());
}

QTEST_GUILESS_MAIN(TestXmlPreferences)
#include "tst_xmlpreferences.moc"
