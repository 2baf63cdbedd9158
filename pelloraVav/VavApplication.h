#pragma once

#include "TsSingleApplication.h"

class KoaPreferences;

class VavApplication : public TsSingleApplication
{
    Q_OBJECT

public:
    VavApplication(int &argc, char **argv, KoaPreferences *preferences);

    KoaPreferences *preferences() const { return m_preferences; }

    static const QString ApplicationId;

private:
    KoaPreferences *m_preferences; // not owned
};
