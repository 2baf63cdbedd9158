#pragma once

#include "LanguageChanger.h"

class KoaPreferences;

// Set when the start-up language change installed the Print Service's
// override translations.
extern bool gOverridesInitialized;

// A language change also becomes the client's current locale.
class PrintClientLanguageChanger : public LanguageChanger
{
public:
    PrintClientLanguageChanger(KoaPreferences *preferences, std::unique_ptr<TsHttpInterface> http,
        const QString &overrideBaseUrl, UtilsLib::Observer *observer = nullptr);

    int changeLanguage(const QString &code) override;

private:
    KoaPreferences *m_preferences;
};
