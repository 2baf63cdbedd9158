#include "PrintClientLanguageChanger.h"

#include "KoaPreferences.h"
#include "TsHttpInterface.h"

bool gOverridesInitialized = false;

PrintClientLanguageChanger::PrintClientLanguageChanger(KoaPreferences *preferences,
    std::unique_ptr<TsHttpInterface> http, const QString &overrideBaseUrl,
    UtilsLib::Observer *observer)
    : LanguageChanger(std::move(http), overrideBaseUrl, observer)
    , m_preferences(preferences)
{ }

int PrintClientLanguageChanger::changeLanguage(const QString &code)
{
    const int result = LanguageChanger::changeLanguage(code);
    if (m_preferences)
        m_preferences->setCurrentLocale(code);
    return result;
}
