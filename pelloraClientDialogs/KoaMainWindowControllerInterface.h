#pragma once

// Decides whether the user at the main window may stop the client.
class KoaMainWindowControllerInterface
{
public:
    virtual ~KoaMainWindowControllerInterface() = default;
    // May ask for the staff password.
    virtual bool isOkToClose() = 0;
    virtual bool isDedicated() = 0;
};
