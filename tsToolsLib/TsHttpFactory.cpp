#include "TsHttpFactory.h"

#include "DiagnosticLine_p.h"
#include "TsHttpMac.h"

const char *const TsHttpFactory::SourceName = "tsToolsLib/tsHttpFactory";

std::unique_ptr<TsHttpInterface> TsHttpFactory::createHttpInstance()
{
    writeDiagnosticLine(
        QString::fromLatin1(SourceName), QStringLiteral("using http_fetcher TsHttp instance"));
    return std::make_unique<TsHttpMac>();
}
