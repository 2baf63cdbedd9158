#pragma once

#include <memory>

class TsHttpInterface;

class TsHttpFactory
{
public:
    static const char *const SourceName;

    virtual ~TsHttpFactory() = default;

    // A new fetcher-based client; the caller owns it. Virtual so that the
    // printer set-up can be tested against a fake Print Service.
    virtual std::unique_ptr<TsHttpInterface> createHttpInstance();
};
