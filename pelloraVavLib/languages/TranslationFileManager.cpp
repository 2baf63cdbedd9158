#include "TranslationFileManager.h"

#include "QmMessageFile.h"
#include "Trace.h"
#include "TsBaseDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

const QString TranslationFileManager::ClassName = QStringLiteral("TranslationFileManager");
const char *const TranslationFileManager::LANGUAGE_CONTEXT = "Language Preferences";
const char *const TranslationFileManager::LANGUAGE_NAME
    = QT_TRANSLATE_NOOP("Language Preferences", "<<Language Name>>");
const char *const TranslationFileManager::CHANGE_LANGUAGE_TEXT
    = QT_TRANSLATE_NOOP("Language Preferences", "Change Language");
const char *const TranslationFileManager::CLOSE_LANGUAGE_OPTIONS_TEXT
    = QT_TRANSLATE_NOOP("Language Preferences", "Close Language Options");
const QString TranslationFileManager::OVERRIDE_SUFFIX = QStringLiteral("_OVERRIDE");

TranslationFileManager::TranslationFileManager(UtilsLib::Observer *observer)
{
    if (observer)
        addObserver(observer);
    setLangSubfolder(QStringLiteral("."));
}

TranslationFileManager::~TranslationFileManager() = default;

QString TranslationFileManager::languagesRoot()
{
    return TsBaseDialog::applicationFolder() + QStringLiteral("/languages");
}

QString TranslationFileManager::findFile(const QString &folder, const QString &fileName)
{
    const QString exact = folder + QLatin1Char('/') + fileName;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString &name : names) {
        if (name.compare(fileName, ::Qt::CaseInsensitive) == 0)
            return folder + QLatin1Char('/') + name;
    }
    return exact;
}

void TranslationFileManager::setLangSubfolder(const QString &name)
{
    Trace trace(this, ClassName, "setLangSubfolder");
    m_languageFolder
        = languagesRoot() + QLatin1Char('/') + (name.isEmpty() ? QStringLiteral(".") : name);
}

bool TranslationFileManager::verfiyTranslationFileExistsForDialect(const QString &dialect)
{
    Trace trace(this, ClassName, "verfiyTranslationFileExistsForDialect");
    return QFileInfo(findFile(languagesRoot(), dialect + QStringLiteral(".qm"))).isFile();
}

TranslationManagerInterface::LanguageMap TranslationFileManager::getLanguageMap()
{
    Trace trace(this, ClassName, "getLanguageMap");
    const QStringList files
        = QDir(m_languageFolder).entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    m_languageMap.clear();
    for (const QString &file : files) {
        if (file.contains(OVERRIDE_SUFFIX, ::Qt::CaseInsensitive))
            continue;
        const QString dialect = file.left(file.size() - 3);

        QTranslator overrides;
        QByteArray overrideData;
        const QString overridePath
            = findFile(m_languageFolder, dialect + OVERRIDE_SUFFIX + QStringLiteral(".qm"));
        if (QmMessageFile::readFile(overridePath, &overrideData)) {
            Trace::logf(this, ClassName, "getLanguageMap", Trace::Info, Trace::InfoCode,
                "Attempting to load override translation file (%1)", overridePath);
            (void)QmMessageFile::load(&overrides, &overrideData);
        } else {
            Trace::logf(this, ClassName, "getLanguageMap", Trace::Warning, Trace::WarningCode,
                "Failed to open override translation file.  Check to ensure the file exists (%1)",
                overridePath);
        }

        QTranslator defaults;
        QByteArray defaultData;
        bool loaded = false;
        const QString defaultPath = m_languageFolder + QLatin1Char('/') + file;
        if (QmMessageFile::readFile(defaultPath, &defaultData)) {
            Trace::logf(this, ClassName, "getLanguageMap", Trace::Info, Trace::InfoCode,
                "Attempting to load default translation file (%1)", defaultPath);
            loaded = QmMessageFile::load(&defaults, &defaultData);
        } else {
            Trace::logf(this, ClassName, "getLanguageMap", Trace::Warning, Trace::WarningCode,
                "Failed to open default translation file.  Check to ensure the file exists (%1)",
                defaultPath);
        }

        const QString code = dialect.toUpper();
        if (!loaded) {
            Trace::logf(this, ClassName, "getLanguageMap", Trace::Error, Trace::ErrorCode,
                "Failed to load language tags for %1", code);
            continue;
        }
        const auto tag = [&](const char *source) {
            const QString text = overrides.translate(LANGUAGE_CONTEXT, source);
            return text.isEmpty() ? defaults.translate(LANGUAGE_CONTEXT, source) : text;
        };
        const DynamicLanguageText_t texts {
            tag(LANGUAGE_NAME), tag(CHANGE_LANGUAGE_TEXT), tag(CLOSE_LANGUAGE_OPTIONS_TEXT)};
        Trace::logf(this, ClassName, "getLanguageMap", Trace::Info, Trace::InfoCode,
            "Inserting language entry in dynamic langauge map: %1, %2", code, texts.languageName);
        m_languageMap.insert(code, texts);
        Trace::logf(this, ClassName, "getLanguageMap", Trace::Verbose, Trace::VerboseCode,
            "Loaded language tags for %1", code);
    }
    return m_languageMap;
}

bool TranslationFileManager::loadInto(const QString &path, bool isOverride)
{
    const char *kind = isOverride ? "override" : "default";
    const QString resolved = resolveQmPath(path);
    QByteArray data;
    if (!QmMessageFile::readFile(resolved, &data)) {
        Trace::logf(this, ClassName, "loadTranslationFiles", Trace::Warning, Trace::WarningCode,
            "Failed to open %1 transaltion file (%2)", QString::fromLatin1(kind), resolved);
        return false;
    }
    Trace::logf(this, ClassName, "loadTranslationFiles", Trace::Info, Trace::InfoCode,
        "Successfully opened %1 transaltion file (%2)", QString::fromLatin1(kind), resolved);
    QTranslator translator;
    QList<QmMessageFile::Message> messages;
    if (!QmMessageFile::read(data, &messages) || !QmMessageFile::load(&translator, &data)) {
        Trace::logf(this, ClassName, "loadTranslationFiles", Trace::Warning, Trace::WarningCode,
            "Failed to load %1 translator", QString::fromLatin1(kind));
        return false;
    }
    Trace::logf(this, ClassName, "loadTranslationFiles", Trace::Info, Trace::InfoCode,
        "Successfully loaded %1 translator", QString::fromLatin1(kind));
    for (const QmMessageFile::Message &message : messages) {
        auto &entry = m_master[{message.context, message.sourceText}];
        if (isOverride)
            entry.second = message.translation;
        else
            entry = {message.translation, QString()};
    }
    return true;
}

bool TranslationFileManager::loadTranslationFiles(
    const QString &defaultFile, const QString &overrideFile)
{
    Trace trace(this, ClassName, "loadTranslationFiles");
    m_master.clear();
    if (!defaultFile.isEmpty())
        m_defaultFilePath = m_languageFolder + QLatin1Char('/') + defaultFile;
    if (!overrideFile.isEmpty())
        m_overrideFilePath = m_languageFolder + QLatin1Char('/') + overrideFile;
    if (!QFileInfo(m_languageFolder).isDir())
        return false;
    if (!loadInto(m_defaultFilePath, false))
        return false;
    if (m_overrideFilePath.isEmpty() || !QFileInfo::exists(resolveQmPath(m_overrideFilePath)))
        return true;
    return loadInto(m_overrideFilePath, true);
}

TranslationManagerInterface::TranslationContainer
TranslationFileManager::getMasterTranslationContainer()
{
    Trace trace(this, ClassName, "getMasterTranslationContainer");
    return m_master;
}

QString TranslationFileManager::getTranslation(
    const QByteArray &context, const QByteArray &sourceText)
{
    Trace trace(this, ClassName, "getTranslation");
    return m_master[{context, sourceText}].second;
}

int TranslationFileManager::numOfTranslations() const
{
    Trace trace(this, ClassName, "numOfTranslations");
    return int(m_master.size());
}

QString TranslationFileManager::resolveQmPath(const QString &path) const
{
    Trace trace(this, ClassName, "resolveQmPath");
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QString found = findFile(info.path(), info.fileName());
    return QFileInfo::exists(found) ? found : path + QStringLiteral(".qm");
}

bool TranslationFileManager::saveTranslationFile(
    const QString &fileName, const TranslationContainer &container)
{
    Trace trace(this, ClassName, "saveTranslationFile");
    QList<QmMessageFile::Message> messages;
    for (auto it = container.cbegin(); it != container.cend(); ++it) {
        if (!it.value().second.isEmpty())
            messages.append({it.key().first, it.key().second, QByteArray(), it.value().second});
    }
    QFile file(m_languageFolder + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = QmMessageFile::write(messages);
    return file.write(bytes) == bytes.size() && file.flush();
}
