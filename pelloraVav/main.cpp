// The client's entry point: the checks that can end the start, the event
// loop and the shutdown steps that must run before anything is destroyed.

#include "VavApplication.h"
#include "VavClient.h"

int main(int argc, char **argv)
{
    VavClient client(argc, argv);

    // One instance per user session.
    if (client.application().isRunning())
        return 0;

    if (!client.setUpPrinters()) {
        // Asked to quit before the printers were there: nothing to report.
        if (client.quitRequested())
            return 0;
        client.showPrintersError();
        return 1;
    }
    if (!client.connectSharedPrinters()) {
        client.showPrintersError();
        return 1;
    }

    client.wire();
    const int status = client.exec();
    client.shutDown();
    return status;
}
