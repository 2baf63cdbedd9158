#include "MessageHandler.h"

#include "AppContext.h"
#include "ObserverManager.h"

namespace Tessaly::Core {

MessageHandler::MessageHandler(UtilsLib::Observer *observer)
{
    if (observer) {
        addObserver(observer);
        return;
    }
    auto *manager = dynamic_cast<ObserverManager *>(
        AppContext::getContext().getObject(ObserverManager::name()));
    if (manager)
        addObserver(manager->observer());
}

} // namespace Tessaly::Core
