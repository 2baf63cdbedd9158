#include "EventRecorder.h"
#include "FakeConnector.h"
#include "FakePreferences.h"
#include "LanguageChanger.h"
#include "PrintClientLanguageChanger.h"
#include "PrintClientTranslator.h"
#include "SupportedLanguageDialects.h"
#include "TestHttpResponder.h"
#include "TranslationFileManager.h"
#include "TsBaseDialog.h"
#include "TsHttp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QtEndian>

namespace {
const char *const Context = "UserIdDialog";
const char *const Caption = "Please identify yourself";

// "file.qm:Source=Translation;Other=Text" with the sources in the test context,
// except the three language tags, which keep their own context.
QByteArray buildQm(const QString &entries)
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("in.ts"));
    const QString qm = dir.filePath(QStringLiteral("out.qm"));
    QMap<QString, QString> contexts;
    for (const QString &pair : entries.split(QLatin1Char(';'), ::Qt::SkipEmptyParts)) {
        const QString source = pair.section(QLatin1Char('='), 0, 0).toHtmlEscaped();
        const QString translation = pair.section(QLatin1Char('='), 1).toHtmlEscaped();
        const bool tag = source.startsWith(QLatin1String("&lt;&lt;"))
            || source == QLatin1String("Change Language")
            || source == QLatin1String("Close Language Options");
        contexts[tag ? QString::fromLatin1(TranslationFileManager::LANGUAGE_CONTEXT)
                     : QString::fromLatin1(Context)]
            += QStringLiteral("<message><source>%1</source><translation>%2</translation></message>")
                   .arg(source, translation);
    }
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?><!DOCTYPE TS>"
                                  "<TS version=\"2.1\">");
    for (auto it = contexts.cbegin(); it != contexts.cend(); ++it)
        text += QStringLiteral("<context><name>%1</name>%2</context>").arg(it.key(), it.value());
    text += QStringLiteral("</TS>");
    QFile file(ts);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return {};
    file.close();
    if (QProcess::execute(
            QStringLiteral(LRELEASE), {QStringLiteral("-silent"), ts, QStringLiteral("-qm"), qm})
        != 0)
        return {};
    QFile out(qm);
    return out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
}

// A valid file made larger than any translation file may be, by a section
// that readers skip.
QByteArray oversized(QByteArray qm)
{
    const quint32 padding = 5 * 1024 * 1024;
    qm += char(0x2f);
    qm += QByteArray(4, '\0');
    qToBigEndian<quint32>(padding, qm.data() + qm.size() - 4);
    return qm + QByteArray(padding, '\0');
}

// Fills <folder>/languages with "name.qm:entries" files, separated by "|"; a
// name written "huge name.qm" gets an oversized file.
bool fillLanguages(const QString &folder, const QString &files)
{
    QDir().mkpath(folder + QStringLiteral("/languages"));
    for (const QString &entry : files.split(QLatin1Char('|'), ::Qt::SkipEmptyParts)) {
        QString name = entry.section(QLatin1Char(':'), 0, 0);
        QByteArray qm = buildQm(entry.section(QLatin1Char(':'), 1));
        if (name.startsWith(QLatin1String("huge "))) {
            name = name.mid(5);
            qm = oversized(qm);
        }
        QFile file(folder + QStringLiteral("/languages/") + name);
        if (qm.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(qm) != qm.size())
            return false;
    }
    return true;
}

// The file with every lookup offset of its hash table pointing far past its
// end, as a damaged or hostile download may have them.
QByteArray withWildOffsets(QByteArray qm)
{
    for (qsizetype at = 16; at + 5 <= qm.size();) {
        const quint32 length = qFromBigEndian<quint32>(qm.constData() + at + 1);
        if (qm.at(at) == 0x42) {
            for (qsizetype entry = at + 5; entry + 8 <= at + 5 + qsizetype(length); entry += 8)
                qToBigEndian<quint32>(0x7ffffff0, qm.data() + entry + 4);
        }
        at += 5 + qsizetype(length);
    }
    return qm;
}

QString caption()
{
    return QCoreApplication::translate(Context, Caption);
}

// Counts the installs and removals of translators the application reports.
class LanguageChangeCounter : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == qApp && event->type() == QEvent::LanguageChange)
            ++count;
        return false;
    }
    int count = 0;
};

const QString Tags = QStringLiteral("<<Language Name>>=%1;Change Language=%2;Close Language "
                                    "Options=%3;Please identify yourself=%4");
const QString Files = QStringLiteral("en_us.qm:")
    + Tags.arg("English", "Change Language", "Close", "Identify") + QStringLiteral("|fr.qm:")
    + Tags.arg("Français", "Changer de langue", "Fermer", "Identifiez-vous");
} // namespace

class tst_Languages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void languageMap_data();
    void languageMap();
    void filesAndContainer();
    void changeLanguage_data();
    void changeLanguage();
    void supportedDialects_data();
    void supportedDialects();
    void translator_data();
    void translator();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Languages::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    TsBaseDialog::setApplicationFolder(m_dir->path());
}

void tst_Languages::cleanup()
{
    TsBaseDialog::setApplicationFolder(QString());
    TsBaseDialog::setLanguageList({});
    TsBaseDialog::setLanguageMap({});
    QCOMPARE(caption(), QString::fromLatin1(Caption)); // nothing left installed
}

void tst_Languages::languageMap_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QStringList>("expected");

    // clang-format off
    QTest::newRow("override names the language")
        << "en_us.qm:<<Language Name>>=English;Change Language=Change Language;Close Language Options=Close"
           "|es_us.qm:<<Language Name>>=Español;Change Language=Cambiar idioma;Close Language Options=Cerrar"
           "|es_us_OVERRIDE.qm:<<Language Name>>=Castellano"
        << QStringList {"EN_US=English|Change Language|Close", "ES_US=Castellano|Cambiar idioma|Cerrar"};
    QTest::newRow("override without the name")
        << "es_us.qm:<<Language Name>>=Español;Close Language Options=Cerrar"
           "|es_us_OVERRIDE.qm:Close Language Options=Salir"
        << QStringList {"ES_US=Español||Salir"};
    QTest::newRow("override file alone")
        << "fr_OVERRIDE.qm:<<Language Name>>=Français"
        << QStringList {};
    QTest::newRow("default without the tags")
        << "de_de.qm:Please identify yourself=Bitte melden Sie sich an"
        << QStringList {"DE_DE=||"};
    QTest::newRow("override named in another case")
        << "fr_ca.qm:<<Language Name>>=Français|FR_CA_override.qm:<<Language Name>>=Québécois"
        << QStringList {"FR_CA=Québécois||"};
    QTest::newRow("oversized override refused")
        << "es_us.qm:<<Language Name>>=Español|huge es_us_OVERRIDE.qm:<<Language Name>>=Castellano"
        << QStringList {"ES_US=Español||"};
    // clang-format on
}

void tst_Languages::languageMap()
{
    QFETCH(QString, files);
    QFETCH(QStringList, expected);
    QVERIFY(fillLanguages(m_dir->path(), files));

    EventRecorder recorder;
    TranslationFileManager manager(&recorder);
    const TranslationManagerInterface::LanguageMap map = manager.getLanguageMap();
    QStringList found;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        found << it.key() + QLatin1Char('=') + it->languageName + QLatin1Char('|')
                + it->changeLanguageText + QLatin1Char('|') + it->closeLanguageOptionsText;
    QCOMPARE(found, expected);
    QCOMPARE(recorder.errorCount(), 0);
}

void tst_Languages::filesAndContainer()
{
    QVERIFY(fillLanguages(m_dir->path(),
        QStringLiteral("es_us.qm:Please identify yourself=Identifíquese;OK=Aceptar"
                       "|es_us_OVERRIDE.qm:OK=Listo;Cancel=Anular")));
    QDir(m_dir->path()).mkpath(QStringLiteral("languages/sub"));
    TranslationFileManager manager;
    manager.setLangSubfolder(QStringLiteral("sub"));
    // The dialect check ignores the subfolder; the case of the code does not matter.
    QVERIFY(manager.verfiyTranslationFileExistsForDialect(QStringLiteral("ES_US")));
    QVERIFY(!manager.verfiyTranslationFileExistsForDialect(QStringLiteral("FR")));
    QVERIFY(!manager.loadTranslationFiles(QStringLiteral("es_us"), QString()));

    manager.setLangSubfolder(QString());
    const QString base = manager.languageFolder() + QStringLiteral("/es_us");
    QCOMPARE(manager.resolveQmPath(base), base + QStringLiteral(".qm"));
    QCOMPARE(manager.resolveQmPath(base + QStringLiteral(".qm")), base + QStringLiteral(".qm"));

    QVERIFY(
        manager.loadTranslationFiles(QStringLiteral("es_us"), QStringLiteral("es_us_OVERRIDE")));
    QCOMPARE(manager.numOfTranslations(), 3);
    TranslationManagerInterface::TranslationContainer master
        = manager.getMasterTranslationContainer();
    using Entry = QPair<QString, QString>;
    QCOMPARE(
        master.value({Context, "Please identify yourself"}), Entry("Identifíquese", QString()));
    QCOMPARE(master.value({Context, "OK"}), Entry("Aceptar", "Listo"));
    QCOMPARE(master.value({Context, "Cancel"}), Entry(QString(), "Anular"));
    QCOMPARE(manager.getTranslation(Context, "OK"), QStringLiteral("Listo"));

    // Only the override texts are written, and the toolkit reads them back.
    master[{Context, "Please identify yourself"}].second = QStringLiteral("¿Quién es?");
    QVERIFY(manager.saveTranslationFile(QStringLiteral("saved.qm"), master));
    QTranslator saved;
    QVERIFY(saved.load(manager.languageFolder() + QStringLiteral("/saved.qm")));
    QCOMPARE(saved.translate(Context, "OK"), QStringLiteral("Listo"));
    QCOMPARE(saved.translate(Context, "Cancel"), QStringLiteral("Anular"));
    QCOMPARE(saved.translate(Context, Caption), QStringLiteral("¿Quién es?"));
    QVERIFY(saved.translate("Other", "OK").isEmpty());
    QVERIFY(manager.loadTranslationFiles(QStringLiteral("saved"), QString()));
    QCOMPARE(manager.numOfTranslations(), 3);
}

void tst_Languages::changeLanguage_data()
{
    QTest::addColumn<QString>("server"); // "serve", "damaged", "huge", "refuse" or "hang"
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("languageNames");

    const QStringList plain {"English", "Français"};
    // clang-format off
    QTest::newRow("missing file keeps the earlier translators")
        << "serve" << QStringList {"FR", "XX"} << QList<int> {4, 1} << "Salut" << QStringList {"English", "Français (CA)"};
    QTest::newRow("no override file") << "serve" << QStringList {"EN_US"} << QList<int> {2} << "Identify" << plain;
    QTest::newRow("override renames its own dialect")
        << "serve" << QStringList {"FR"} << QList<int> {4} << "Salut" << QStringList {"English", "Français (CA)"};
    QTest::newRow("twice the same") << "serve" << QStringList {"FR", "FR"} << QList<int> {4, 4} << "Salut" << QStringList {"English", "Français (CA)"};
    QTest::newRow("back to the default") << "serve" << QStringList {"FR", "EN_US"} << QList<int> {4, 2} << "Identify" << QStringList {"English", "Français (CA)"};
    QTest::newRow("lower-case code") << "serve" << QStringList {"en_us"} << QList<int> {2} << "Identify" << plain;
    QTest::newRow("damaged override read for its messages alone")
        << "damaged" << QStringList {"FR"} << QList<int> {4} << "Salut" << QStringList {"English", "Français (CA)"};
    QTest::newRow("refused") << "refuse" << QStringList {"FR"} << QList<int> {2} << "Identifiez-vous" << plain;
    QTest::newRow("accepts, never answers") << "hang" << QStringList {"FR"} << QList<int> {2} << "Identifiez-vous" << plain;
    QTest::newRow("oversized override") << "huge" << QStringList {"FR"} << QList<int> {2} << "Identifiez-vous" << plain;
    // clang-format on
}

void tst_Languages::changeLanguage()
{
    QFETCH(QString, server);
    QFETCH(QStringList, codes);
    QFETCH(QList<int>, results);
    QFETCH(QString, caption);
    QFETCH(QStringList, languageNames);
    QVERIFY(fillLanguages(m_dir->path(), Files));
    TsBaseDialog::setLanguageList({{"English", "Close"}, {"Français", "Fermer"}});
    TsBaseDialog::setLanguageMap({{"EN_US", "English"}, {"FR", "Français"}});

    TestHttpResponder responder;
    QVERIFY(responder.startListening());
    QByteArray overrides
        = buildQm(QStringLiteral("Please identify yourself=Salut;<<Language Name>>=Français (CA)"));
    if (server == QLatin1String("damaged"))
        overrides = withWildOffsets(overrides);
    if (server == QLatin1String("huge"))
        overrides = oversized(overrides);
    responder.setResponse("/languages/FR_OVERRIDE.qm", TestHttpResponder::reply(200, overrides),
        server == QLatin1String("hang") ? TestHttpResponder::Hang : TestHttpResponder::Send);
    QString base = responder.url(QStringLiteral("/languages"));
    if (server == QLatin1String("refuse")) {
        responder.stopListening();
        base = QStringLiteral("http://127.0.0.1:%1/languages").arg(responder.port());
    }

    FakePreferences preferences;
    auto changer = std::make_unique<PrintClientLanguageChanger>(
        &preferences, std::make_unique<TsHttp>(), base);
    LanguageChangeCounter counter;
    qApp->installEventFilter(&counter);
    QList<int> found;
    QElapsedTimer clock;
    clock.start();
    for (const QString &code : codes)
        found << changer->changeLanguage(code);
    QCOMPARE(found, results);
    // Each translator is installed once, whatever the number of switches.
    QCOMPARE(::caption(), caption);
    QCOMPARE(preferences.getCurrentLocale(), codes.last());
    QStringList names;
    for (const auto &pair : TsBaseDialog::languageList())
        names << pair.first;
    QCOMPARE(names, languageNames);
    QVERIFY2(clock.elapsed() < 4 * LanguageChanger::OverrideTimeout,
        "a silent Print Service held the patron");
    changer.reset();
    qApp->removeEventFilter(&counter);
    QVERIFY(counter.count > 0);
    if (server == QLatin1String("serve"))
        QCOMPARE(responder.requestCount(),
            int(std::count_if(
                results.cbegin(), results.cend(), [](int result) { return result != 1; })));
}

void tst_Languages::supportedDialects_data()
{
    QTest::addColumn<QString>("dialects");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("checked");

    // clang-format off
    QTest::newRow("blank after comma") << "en_us, fr" << QStringList {"English"} << QStringList {"EN_US", " FR"};
    QTest::newRow("no blank") << " en_us,fr " << QStringList {"English", "Français"} << QStringList {"EN_US", "FR"};
    QTest::newRow("listed twice") << "fr,,FR" << QStringList {"Français", "Français"} << QStringList {"FR", "FR"};
    QTest::newRow("without a file") << "de_de" << QStringList {} << QStringList {"DE_DE"};
    // clang-format on
}

void tst_Languages::supportedDialects()
{
    QFETCH(QString, dialects);
    QFETCH(QStringList, names);
    QFETCH(QStringList, checked);
    QVERIFY(fillLanguages(m_dir->path(), Files));

    EventRecorder recorder;
    SupportedLanguageDialects supported(&recorder);
    supported.install(dialects);
    QStringList found;
    for (const auto &pair : supported.list())
        found << pair.first;
    QCOMPARE(found, names);
    QStringList checks;
    for (const QString &line : recorder.details()) {
        if (line.startsWith(QLatin1String("Checking for translation file for dialect ")))
            checks << line.mid(42);
    }
    QCOMPARE(checks, checked);
    QCOMPARE(TsBaseDialog::languageList(), supported.list());
}

void tst_Languages::translator_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QStringList>("locales");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("languageChanges");

    const QString es = QStringLiteral("es.qm:Please identify yourself=Identifíquese");
    // clang-format off
    QTest::newRow("dialect and override") << es + "|es_us.qm:Please identify yourself=Por favor" << QStringList {"es_us"} << "Override" << 2;
    QTest::newRow("falls back to the language") << es << QStringList {"es_us"} << "Override" << 2;
    QTest::newRow("twice") << es << QStringList {"es_us", "es_us"} << "Override" << 6;
    QTest::newRow("no file, no override") << es << QStringList {"de_de"} << Caption << 0;
    QTest::newRow("empty locale") << es << QStringList {""} << Caption << 0;
    // clang-format on
}

void tst_Languages::translator()
{
    QFETCH(QString, files);
    QFETCH(QStringList, locales);
    QFETCH(QString, caption);
    QFETCH(int, languageChanges);
    QVERIFY(fillLanguages(m_dir->path(), files));
    TestHttpResponder responder;
    QVERIFY(responder.startListening());
    responder.setResponse("/languages/ES_US_OVERRIDE.qm",
        TestHttpResponder::reply(
            200, buildQm(QStringLiteral("Please identify yourself=Override"))));

    FakeConnector connector;
    EventRecorder recorder;
    LanguageChangeCounter counter;
    {
        PrintClientTranslator translator(QStringLiteral("en_us"), &recorder);
        translator.setPrinterConnector(&connector);
        qApp->installEventFilter(&counter);
        for (const QString &locale : locales)
            translator.setLocale(locale, responder.port());
        QCOMPARE(::caption(), caption);
        QCOMPARE(translator.getLocale(), locales.last());
        QCOMPARE(counter.count, languageChanges);
    }
    qApp->removeEventFilter(&counter);

    const QStringList lines = recorder.lines();
    if (locales.last().isEmpty()) {
        QVERIFY(lines.contains("Warning Either printServiceAddress or locale is empty"));
        QCOMPARE(responder.requestCount(), 0);
        return;
    }
    const QString request = "/languages/" + locales.last().toUpper() + "_OVERRIDE.qm";
    QVERIFY(responder.requests().first().contains(" " + request.toLatin1() + " "));
    QCOMPARE(responder.requestCount(), int(locales.size()));
    const qsizetype installed = lines.indexOf("Info Default translator installed");
    const qsizetype fetching = lines.indexOf(QStringLiteral(
        "Info Attempting to retrieve override translations from http://127.0.0.1:%1%2")
                                                 .arg(responder.port())
                                                 .arg(request));
    QVERIFY(fetching >= 0);
    QCOMPARE(installed >= 0 && installed < fetching, caption != QLatin1String(Caption));
}

QTEST_MAIN(tst_Languages)
#include "tst_languages.moc"
