#pragma once

class KoaMainWindowControllerInterface;

// What the controller and the quit request need of the main window.
class KoaMainWindowInterface
{
public:
    virtual ~KoaMainWindowInterface() = default;
    // Borrowed; null detaches.
    virtual void setController(KoaMainWindowControllerInterface *controller) = 0;
    // Quits the client when the controller allows it; false leaves it running.
    virtual bool stopClient() = 0;
};
