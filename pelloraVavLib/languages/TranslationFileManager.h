#pragma once

#include "Observable.h"
#include "TranslationManagerInterface.h"

#include <QString>

namespace UtilsLib {
class Observer;
}

// Knows the language folder: which dialects have a file, the texts each
// dialect shows of itself, and the messages of a default/override pair.
class TranslationFileManager : public UtilsLib::Observable, public TranslationManagerInterface
{
public:
    static const QString ClassName;
    static const char *const LANGUAGE_CONTEXT;
    static const char *const LANGUAGE_NAME;
    static const char *const CHANGE_LANGUAGE_TEXT;
    static const char *const CLOSE_LANGUAGE_OPTIONS_TEXT;
    static const QString OVERRIDE_SUFFIX;

    explicit TranslationFileManager(UtilsLib::Observer *observer = nullptr);
    ~TranslationFileManager() override;

    bool loadTranslationFiles(const QString &defaultFile, const QString &overrideFile) override;
    bool saveTranslationFile(
        const QString &fileName, const TranslationContainer &container) override;
    void setLangSubfolder(const QString &name) override;
    TranslationContainer getMasterTranslationContainer() override;
    LanguageMap getLanguageMap() override;
    virtual bool verfiyTranslationFileExistsForDialect(const QString &dialect);

    QString getTranslation(const QByteArray &context, const QByteArray &sourceText);
    int numOfTranslations() const;
    QString resolveQmPath(const QString &path) const;
    QString languageFolder() const { return m_languageFolder; }

    // The file of that name in the folder, matched without regard to case;
    // the exact path when there is none.
    static QString findFile(const QString &folder, const QString &fileName);
    // The application folder's "languages" folder.
    static QString languagesRoot();

private:
    bool loadInto(const QString &path, bool isOverride);

    TranslationContainer m_master;
    QString m_defaultFilePath;
    QString m_overrideFilePath;
    QString m_languageFolder;
    QString m_unused;
    LanguageMap m_languageMap;
};
