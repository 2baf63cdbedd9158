#pragma once

#include "Message.h"
#include "PageCountDialogModel.h"

// The Print Service announces a spooled job and what it costs; the message is
// also the model of the page count dialog.
class JobReceivedMsg : public Tessaly::Core::Message, public PageCountDialogModel
{
public:
    static constexpr long MESSAGE_ID = 4;

    explicit JobReceivedMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler = nullptr);
    JobReceivedMsg(const JobReceivedMsg &other) = default;

    [[nodiscard]] std::unique_ptr<Tessaly::Core::Message> clone() const override;
    QString toText() override;
    bool fromText(const QString &text) override;
    long messageId() const override { return MESSAGE_ID; }

    long pageCount() const override { return m_pageCount; }
    void setPageCount(long count) { m_pageCount = count; }
    QString pageCost() const override { return m_pageCost; }
    void setPageCost(const QString &cost) { m_pageCost = cost; }
    long freePagesPrinted() const override { return m_freePagesPrinted; }
    void setFreePagesPrinted(long pages) { m_freePagesPrinted = pages; }
    bool requireUserId() const override { return m_requireUserId; }
    void setRequireUserId(bool require) { m_requireUserId = require; }
    QString totalCost() const override { return m_totalCost; }
    void setTotalCost(const QString &cost) { m_totalCost = cost; }
    QString freeTextMessage() const override { return m_freeTextMessage; }
    void setFreeTextMessage(const QString &message) { m_freeTextMessage = message; }
    bool freeJob() const override { return m_freeJob; }
    void setFreeJob(bool free) { m_freeJob = free; }
    long sheetCount() const override { return m_sheetCount; }
    void setSheetCount(long sheets) { m_sheetCount = sheets; }
    bool collated() const override { return m_collated; }
    void setCollated(bool collated) { m_collated = collated; }

private:
    long m_pageCount = 0;
    QString m_pageCost;
    long m_freePagesPrinted = 0;
    bool m_requireUserId = false;
    QString m_totalCost;
    QString m_freeTextMessage;
    bool m_freeJob = false;
    long m_sheetCount = 0;
    bool m_collated = false;
};
