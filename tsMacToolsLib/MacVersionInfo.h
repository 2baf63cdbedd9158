#pragma once

#include "VersionInfoInterface.h"

class MacVersionInfo : public VersionInfoInterface
{
public:
    MacVersionInfo();
    bool initialize() override;
};

extern MacVersionInfo macVersionInfo;
