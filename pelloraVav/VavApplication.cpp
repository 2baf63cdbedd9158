#include "VavApplication.h"

const QString VavApplication::ApplicationId = QStringLiteral("Pellora Laptop Print Client");

VavApplication::VavApplication(int &argc, char **argv, KoaPreferences *preferences)
    : TsSingleApplication(ApplicationId, argc, argv)
    , m_preferences(preferences)
{ }
