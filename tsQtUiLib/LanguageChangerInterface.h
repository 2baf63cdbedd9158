#pragma once

#include <QDeadlineTimer>
#include <QString>

// Switches the application's language; implemented by the client's language changer.
class LanguageChangerInterface
{
public:
    virtual ~LanguageChangerInterface() = default;
    // The result is a code of the implementation, never 0.
    virtual int changeLanguage(const QString &code) = 0;
    // Bounds the downloads of the calls that follow, all together, by one
    // deadline, and fetches what they ask for twice once; a deadline that
    // never expires lifts the bound.
    virtual void setDownloadDeadline(QDeadlineTimer deadline) { Q_UNUSED(deadline) }
};
