#include "TranslationFileManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {
struct Entry
{
    QString translation;
    QString type;
};
using Catalogue = QMap<QPair<QString, QString>, Entry>;

Catalogue readTs(const QString &path)
{
    Catalogue found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return found;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            found.insert({context, source}, {xml.readElementText(), type});
        }
    }
    return xml.hasError() ? Catalogue() : found;
}

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    QRegularExpressionMatchIterator it
        = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
    while (it.hasNext())
        found.insert(it.next().captured());
    return found;
}
} // namespace

// Every text the code translates is translated, finished, in every shipped
// language, and the built files carry the language tags.
class tst_ShippedTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void complete_data();
    void complete();

private:
    Catalogue m_code;
};

void tst_ShippedTranslations::initTestCase()
{
    QTemporaryDir dir;
    const QString ts = dir.filePath(QStringLiteral("code.ts"));
    QStringList arguments {
        QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none")};
    for (const char *folder : {"tsToolsLib", "tsQtUiLib", "pelloraVavLib", "pelloraClientDialogs",
             "pelloraVavWorkflow", "pelloraVav"})
        arguments << QStringLiteral(PELLORA_SOURCE_DIR "/") + QLatin1String(folder);
    arguments << QStringLiteral("-ts") << ts;
    QCOMPARE(QProcess::execute(QStringLiteral(LUPDATE), arguments), 0);
    m_code = readTs(ts);
    QVERIFY(m_code.contains(
        {TranslationFileManager::LANGUAGE_CONTEXT, TranslationFileManager::LANGUAGE_NAME}));
    QVERIFY(m_code.size() > 50);
}

void tst_ShippedTranslations::complete_data()
{
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("languageName");
    const QStringList files = QDir(QStringLiteral(PELLORA_SOURCE_DIR "/translations"))
                                  .entryList({QStringLiteral("*.ts")}, QDir::Files, QDir::Name);
    const QMap<QString, QString> names {
        {"en_us", "English"}, {"es_us", "Español"}, {"fr_ca", "Français"}, {"de_de", "Deutsch"}};
    for (const QString &name : names.keys())
        QVERIFY2(files.contains(name + QStringLiteral(".ts")), qPrintable(name));
    for (const QString &file : files) {
        const QString dialect = file.chopped(3);
        QTest::newRow(qPrintable(dialect)) << dialect << names.value(dialect);
    }
}

void tst_ShippedTranslations::complete()
{
    QFETCH(QString, dialect);
    QFETCH(QString, languageName);
    const Catalogue shipped
        = readTs(QStringLiteral(PELLORA_SOURCE_DIR "/translations/") + dialect + ".ts");
    QVERIFY(!shipped.isEmpty());
    QStringList faults;
    for (auto it = m_code.cbegin(); it != m_code.cend(); ++it) {
        const QString where = it.key().first + QStringLiteral(": ") + it.key().second;
        const auto found = shipped.find(it.key());
        if (found == shipped.end())
            faults << QStringLiteral("missing ") + where;
        else if (!found->type.isEmpty() || found->translation.isEmpty())
            faults << QStringLiteral("unfinished ") + where;
        else if (placeholders(found->translation) != placeholders(it.key().second))
            faults << QStringLiteral("placeholders differ ") + where;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

    // The built file beside the program.
    QTranslator built;
    QVERIFY(built.load(dialect, QStringLiteral(PELLORA_APP_DIR "/languages")));
    const QString name = built.translate(
        TranslationFileManager::LANGUAGE_CONTEXT, TranslationFileManager::LANGUAGE_NAME);
    if (!languageName.isEmpty())
        QCOMPARE(name, languageName);
    for (const char *tag :
        {TranslationFileManager::LANGUAGE_NAME, TranslationFileManager::CHANGE_LANGUAGE_TEXT,
            TranslationFileManager::CLOSE_LANGUAGE_OPTIONS_TEXT})
        QVERIFY(!built.translate(TranslationFileManager::LANGUAGE_CONTEXT, tag).isEmpty());
    QVERIFY(name != QLatin1String(TranslationFileManager::LANGUAGE_NAME));
}

QTEST_MAIN(tst_ShippedTranslations)
#include "tst_shippedtranslations.moc"
