#pragma once

#include <QString>

// What the job and authentication handlers need to know about the
// reservation session in progress.
class StalloSessionInfo
{
public:
    virtual ~StalloSessionInfo() = default;
    virtual int getPagesPrinted() = 0;
    virtual bool getInSession() = 0;
    virtual QString getUserId() = 0;
    virtual QString getUserPin() = 0;
    virtual QString getPcDescription(bool enabled) = 0;
    virtual void incrementPagesPrinted(int pages) = 0;
};
