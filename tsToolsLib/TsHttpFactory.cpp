#include "TsHttpFactory.h"

#include "ConsoleLine.h"
#include "TsHttpMac.h"

const char *const TsHttpFactory::SourceName = "tsToolsLib/tsHttpFactory";

std::unique_ptr<TsHttpInterface> TsHttpFactory::createHttpInstance()
{
    UtilsLib::writeConsoleLine(QString::fromLatin1(SourceName) + QStringLiteral(": ")
        + QStringLiteral("using http_fetcher TsHttp instance"));
    return std::make_unique<TsHttpMac>();
}
