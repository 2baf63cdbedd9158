#pragma once

#include "MessageHandler.h"

#include <QDeadlineTimer>
#include <QString>

class KoaPreferences;
class LanguageChangerInterface;
class PrintClientTranslatorInterface;
class RegistrationListenerInterface;
class SharedPrinterMappingsInterface;
class StalloSessionRegistry;

// Applies the site's settings to the preferences, the language and the
// dialogs, and answers with the locale in force.
class SettingsMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;

    // All borrowed.
    SettingsMsgHandler(KoaPreferences *preferences, StalloSessionRegistry *registry,
        SharedPrinterMappingsInterface *printerMappings, PrintClientTranslatorInterface *translator,
        bool localeSetFromCommandLine, UtilsLib::Observer *observer);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

    void setLanguageChanger(LanguageChangerInterface *changer) { m_languageChanger = changer; }
    void setRegistrationListener(RegistrationListenerInterface *listener)
    {
        m_registrationListener = listener;
    }
    void localeWasSetFromCommandLine(bool set) { m_localeSetFromCommandLine = set; }
    // All the override downloads of one message, together.
    static constexpr int DownloadBudget = 3000;
    void setDownloadBudget(int milliseconds) { m_downloadBudget = milliseconds; }

private:
    void log(int severity, const QString &details) const;
    void switchLanguagesDynamically();
    void applyLocale(const QString &locale, int httpPort);
    void setDownloadDeadline(QDeadlineTimer deadline);

    KoaPreferences *m_preferences;
    StalloSessionRegistry *m_registry;
    SharedPrinterMappingsInterface *m_printerMappings;
    PrintClientTranslatorInterface *m_translator;
    RegistrationListenerInterface *m_registrationListener = nullptr;
    bool m_localeSetFromCommandLine;
    bool m_localeAlreadySet = false;
    LanguageChangerInterface *m_languageChanger = nullptr;
    int m_downloadBudget = DownloadBudget;
};
