#pragma once

#include "EnvironmentProvider.h"

class MacEnvironmentProvider : public EnvironmentProvider
{
public:
    QString getUserDomain() override;
    QString getUserName() override;
    QString getMachineName() override;
    bool isUserInDomain() override { return false; }
    bool isServiceInstalled(const QString &) override { return false; }
};
