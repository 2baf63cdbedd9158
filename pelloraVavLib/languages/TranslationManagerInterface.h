#pragma once

#include "DynamicLanguageText_t.h"

#include <QByteArray>
#include <QMap>
#include <QPair>
#include <QString>

// Reads and writes the client's translation files.
class TranslationManagerInterface
{
public:
    // (context, source text) -> (default translation, override translation)
    using TranslationKey = QPair<QByteArray, QByteArray>;
    using TranslationContainer = QMap<TranslationKey, QPair<QString, QString>>;
    // upper-case dialect code -> the dialect's own texts
    using LanguageMap = QMap<QString, DynamicLanguageText_t>;

    virtual ~TranslationManagerInterface() = default;
    virtual bool loadTranslationFiles(const QString &defaultFile, const QString &overrideFile) = 0;
    virtual bool saveTranslationFile(const QString &fileName, const TranslationContainer &container)
        = 0;
    virtual void setLangSubfolder(const QString &name) = 0;
    virtual TranslationContainer getMasterTranslationContainer() = 0;
    virtual LanguageMap getLanguageMap() = 0;
};
