#pragma once

#include <memory>

class TsHttpInterface;

class TsHttpFactory
{
public:
    static const char *const SourceName;

    // A new fetcher-based client; the caller owns it.
    static std::unique_ptr<TsHttpInterface> createHttpInstance();
};
