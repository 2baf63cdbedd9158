#pragma once

#include <QString>

// Switches the application's language; implemented by the client's language changer.
class LanguageChangerInterface
{
public:
    virtual ~LanguageChangerInterface() = default;
    // The result is a code of the implementation, never 0.
    virtual int changeLanguage(const QString &code) = 0;
};
