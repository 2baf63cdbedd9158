#pragma once

#include <QString>

class EnvironmentProvider
{
public:
    virtual ~EnvironmentProvider() = default;
    virtual QString getUserDomain() = 0;
    virtual QString getUserName() = 0;
    virtual QString getMachineName() = 0;
    virtual bool isUserInDomain() = 0;
    virtual bool isServiceInstalled(const QString &name) = 0;
};
