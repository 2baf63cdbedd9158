#pragma once

// Decides whether a job of the given size may print.
class PageCountValidator
{
public:
    virtual ~PageCountValidator() = default;
    virtual bool isOkToPrint(int pageCount) = 0;
};
