#include "SupportedLanguageDialects.h"

#include "Trace.h"
#include "TranslationFileManager.h"

const QString SupportedLanguageDialects::ClassName = QStringLiteral("SupportedLanguageDialects");

SupportedLanguageDialects::SupportedLanguageDialects(UtilsLib::Observer *observer)
    : SupportedLanguageDialects(std::make_unique<TranslationFileManager>(observer), observer)
{ }

SupportedLanguageDialects::SupportedLanguageDialects(
    std::unique_ptr<TranslationFileManager> fileManager, UtilsLib::Observer *observer)
    : m_fileManager(
        fileManager ? std::move(fileManager) : std::make_unique<TranslationFileManager>())
{
    if (observer)
        addObserver(observer);
}

SupportedLanguageDialects::~SupportedLanguageDialects() = default;

void SupportedLanguageDialects::install(const QString &dialects)
{
    const char *const function = "install";
    Trace::logf(this, ClassName, function, Trace::Verbose, Trace::VerboseCode,
        "Supported dialects=%1", dialects);
    m_languageList.clear();
    m_languageMap.clear();
    const TranslationManagerInterface::LanguageMap languages = m_fileManager->getLanguageMap();

    // The items are not stripped: "en_us, fr" offers " FR", found only when
    // a file of that name exists.
    const QStringList items
        = dialects.toUpper().trimmed().split(QLatin1Char(','), ::Qt::SkipEmptyParts);
    for (const QString &item : items) {
        Trace::logf(this, ClassName, function, Trace::Info, Trace::InfoCode,
            "Checking for translation file for dialect %1", item);
        if (m_fileManager->verfiyTranslationFileExistsForDialect(item))
            Trace::logf(this, ClassName, function, Trace::Info, Trace::InfoCode,
                "Found translation file for dialect %1", item);
        const auto found = languages.find(item);
        if (found == languages.end() || found->languageName.isEmpty())
            continue;
        Trace::logf(this, ClassName, function, Trace::Verbose, Trace::VerboseCode,
            "Adding change language translation data for dialect %1 ([%2], [%3])", item,
            found->languageName, found->closeLanguageOptionsText);
        m_languageList.append({found->languageName, found->closeLanguageOptionsText});
        m_languageMap.insert(item, found->languageName);
    }
    if (!m_languageList.isEmpty()) {
        Trace::log(this, ClassName, function, Trace::Info, Trace::InfoCode,
            QStringLiteral("Setting language list on TsBaseDialog"));
        TsBaseDialog::setLanguageList(m_languageList);
    }
    if (!m_languageMap.isEmpty()) {
        Trace::log(this, ClassName, function, Trace::Info, Trace::InfoCode,
            QStringLiteral("Setting language map on TsBaseDialog"));
        TsBaseDialog::setLanguageMap(m_languageMap);
    }
}
