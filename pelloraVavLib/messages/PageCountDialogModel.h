#pragma once

#include <QString>

// What the page count dialog shows about a received job.
class PageCountDialogModel
{
public:
    virtual ~PageCountDialogModel() = default;

    virtual QString pageCost() const = 0;
    virtual long freePagesPrinted() const = 0;
    virtual long pageCount() const = 0;
    virtual QString totalCost() const = 0;
    virtual bool requireUserId() const = 0;
    virtual QString freeTextMessage() const = 0;
    virtual bool freeJob() const = 0;
    virtual long sheetCount() const = 0;
    virtual bool collated() const = 0;
};
