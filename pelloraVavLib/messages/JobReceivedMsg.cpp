#include "JobReceivedMsg.h"

#include "MessageFields_p.h"

JobReceivedMsg::JobReceivedMsg(std::unique_ptr<Tessaly::Core::MessageHandler> handler)
    : Message(std::move(handler), nullptr)
{ }

std::unique_ptr<Tessaly::Core::Message> JobReceivedMsg::clone() const
{
    return std::make_unique<JobReceivedMsg>(*this);
}

QString JobReceivedMsg::toText()
{
    return QString();
}

bool JobReceivedMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::splitKeepingEmpty(text);
    if (!MessageFields::hasId(fields, MESSAGE_ID))
        return false;

    // Every job starts from the defaults: a flag or cost of the previous job
    // must not carry over when the Print Service leaves its field out.
    m_pageCount = 0;
    m_pageCost.clear();
    m_freePagesPrinted = 0;
    m_requireUserId = false;
    m_totalCost.clear();
    m_freeTextMessage.clear();
    m_freeJob = false;
    m_sheetCount = 0;
    m_collated = false;

    for (qsizetype i = 2; i < fields.size(); ++i) {
        const QString &field = fields.at(i);
        if (field.isEmpty())
            continue;
        const QString value = MessageFields::codedValue(field);
        switch (field.at(0).unicode()) {
        case 'A':
            m_pageCount = MessageFields::toNumber(value);
            break;
        case 'B':
            m_pageCost = value;
            break;
        case 'C':
            m_freePagesPrinted = MessageFields::toNumber(value);
            break;
        case 'D':
            m_requireUserId = MessageFields::toFlag(value);
            break;
        case 'E':
            m_totalCost = value;
            break;
        case 'F':
            m_freeTextMessage = value;
            break;
        case 'G':
            m_freeJob = MessageFields::toFlag(value);
            break;
        case 'H':
            m_sheetCount = MessageFields::toNumber(value);
            break;
        case 'I':
            m_collated = MessageFields::toFlag(value);
            break;
        default:
            break;
        }
    }
    return true;
}
