#pragma once

#include "Observable.h"
#include "TsBaseDialog.h"

#include <QString>

#include <memory>

class TranslationFileManager;

namespace UtilsLib {
class Observer;
}

// Offers in the language selector the site's dialects that have a
// translation file with language tags.
class SupportedLanguageDialects : public UtilsLib::Observable
{
public:
    static const QString ClassName;

    explicit SupportedLanguageDialects(UtilsLib::Observer *observer = nullptr);
    SupportedLanguageDialects(
        std::unique_ptr<TranslationFileManager> fileManager, UtilsLib::Observer *observer);
    ~SupportedLanguageDialects() override;

    void install(const QString &dialects);
    int count() const { return int(m_languageList.size()); }
    TsBaseDialog::LanguageList list() const { return m_languageList; }
    TsBaseDialog::LanguageMap changeLanguageInformationMap() const { return m_languageMap; }
    int changeLanguageInformationMapSize() const { return int(m_languageMap.size()); }

private:
    std::unique_ptr<TranslationFileManager> m_fileManager;
    TsBaseDialog::LanguageList m_languageList;
    TsBaseDialog::LanguageMap m_languageMap;
};
