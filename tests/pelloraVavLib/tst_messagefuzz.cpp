#include "messagetesthelpers.h"

#include "AuthenticateMsg.h"
#include "AuthenticateReq.h"
#include "AuthenticateResultMsg.h"
#include "AutoReleaseMsg.h"
#include "CancelJobReq.h"
#include "EndOfSessionMsg.h"
#include "GuestJobMsg.h"
#include "GuestJobReq.h"
#include "JobDeletedMsg.h"
#include "JobReceivedMsg.h"
#include "KoaAckMsg.h"
#include "PrintClientUpdateMsg.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobReq.h"
#include "SettingsMsg.h"
#include "SettingsResponseMsg.h"
#include "ShowSpoolingDialogMsg.h"

#include <QRandomGenerator>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Factory = std::function<std::unique_ptr<Tessaly::Core::Message>(
    std::unique_ptr<Tessaly::Core::MessageHandler>, UtilsLib::Observer *)>;

template<typename T> Factory factory()
{
    return
        [](std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer) {
            return std::make_unique<T>(std::move(handler), observer);
        };
}

std::vector<Factory> allMessages()
{
    return {
        factory<AuthenticateReq>(),
        factory<AuthenticateMsg>(),
        factory<AuthenticateResultMsg>(),
        factory<GuestJobReq>(),
        factory<GuestJobMsg>(),
        [](std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *) {
            return std::make_unique<JobReceivedMsg>(std::move(handler));
        },
        [](std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer) {
            return std::make_unique<PrintJobReq>(
                QStringLiteral("en_us"), std::move(handler), observer);
        },
        factory<PrintJobConfirmationMsg>(),
        factory<CancelJobReq>(),
        factory<JobDeletedMsg>(),
        factory<ShowSpoolingDialogMsg>(),
        [](std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *) {
            return std::make_unique<AutoReleaseMsg>(std::move(handler));
        },
        factory<KoaAckMsg>(),
        factory<EndOfSessionMsg>(),
        factory<SettingsMsg>(),
        [](std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer) {
            return std::make_unique<SettingsResponseMsg>(
                QStringLiteral("en_us"), std::move(handler), observer);
        },
        factory<PrintClientUpdateMsg>(),
    };
}

const long Ids[] = {4, 5, 6, 7, 51, 52, 53, 54, 55, 56, 58, 59, 60, 62, 64, 80, 86};

class TextGenerator
{
public:
    explicit TextGenerator(quint32 seed)
        : m_random(seed)
    { }

    QString next(int index)
    {
        if (index % 500 == 499)
            return huge();
        switch (m_random.bounded(5)) {
        case 0:
            return QString::fromUtf8(randomBytes(m_random.bounded(80)));
        case 1:
            return separators();
        case 2:
            return pickField() + QString::fromUtf8(randomBytes(m_random.bounded(40)));
        default:
            return structured();
        }
    }

private:
    QByteArray randomBytes(int size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(m_random.bounded(256));
        return bytes;
    }

    QString pickField()
    {
        static const char *const pieces[]
            = {"", "|", "||", "#^#", "0", "-1", "4294967296", "99999999999999999999", "+5", " 7 ",
                "x", "\\:", "%1", "%2", "é", "\xf0\x9f\x96\xa8", "1.5", "-", "A", "Q"};
        QString field;
        if (m_random.bounded(3) != 0)
            field += QChar(u'A' + m_random.bounded(26));
        const int parts = m_random.bounded(4);
        for (int i = 0; i < parts; ++i)
            field += QString::fromUtf8(pieces[m_random.bounded(int(std::size(pieces)))]);
        if (m_random.bounded(8) == 0)
            field += QChar(char16_t(0xd800 + m_random.bounded(0x800))); // lone surrogate
        if (m_random.bounded(10) == 0)
            field += QChar(0);
        return field;
    }

    QString structured()
    {
        QString text;
        if (m_random.bounded(6) != 0)
            text += QString::number(Ids[m_random.bounded(int(std::size(Ids)))]);
        else
            text += pickField();
        text += QLatin1Char('|');
        if (m_random.bounded(4) != 0)
            text += FixedTimeSource::stamp();
        const int fields = m_random.bounded(16);
        for (int i = 0; i < fields; ++i)
            text += QLatin1Char('|') + pickField();
        return text;
    }

    QString separators()
    {
        QString text = QString::number(Ids[m_random.bounded(int(std::size(Ids)))]);
        text += QString(1000 + m_random.bounded(4000), QLatin1Char('|'));
        if (m_random.bounded(2))
            text += QStringLiteral("A1");
        return text;
    }

    QString huge()
    {
        QString text = QString::number(Ids[m_random.bounded(int(std::size(Ids)))]);
        text += QLatin1Char('|') + FixedTimeSource::stamp();
        while (text.size() < 200000)
            text += QLatin1Char('|') + pickField() + QString(m_random.bounded(2000), QChar(u'x'));
        return text;
    }

    QRandomGenerator m_random;
};

} // namespace

class tst_MessageFuzz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Tessaly::Core::Message::setTimeSource(&m_clock); }
    void anyTextIsHandledOrReported_data();
    void anyTextIsHandledOrReported();
    void answersNeverCarryStraySeparators();

private:
    FixedTimeSource m_clock;
};

void tst_MessageFuzz::anyTextIsHandledOrReported_data()
{
    QTest::addColumn<QString>("text");

    QTest::addRow("empty") << QString();
    QTest::addRow("one separator") << QStringLiteral("|");
    QTest::addRow("NUL") << QString(QChar(0));
    QTest::addRow("code alone everywhere") << received(62, "|A|B|C|D|E|F|G|H|I|Y|Z");
    QTest::addRow("ten thousand separators") << "58" + QString(10000, QLatin1Char('|'));
    QTest::addRow("invalid utf-8") << QString::fromUtf8("6|\xff\xfe|\xc3|\xed\xa0\x80|P#^#");
    QTest::addRow("million characters") << received(4, "|F" + QString(1000000, QChar(u'z')));

    TextGenerator generator(20261208);
    for (int i = 0; i < 3000; ++i)
        QTest::addRow("random %d", i) << generator.next(i);
}

// Whatever arrives, a message either parses it and passes it to its handler, or
// answers the empty text and reports one error; the verdict does not depend on
// what the object held before.
void tst_MessageFuzz::anyTextIsHandledOrReported()
{
    QFETCH(QString, text);

    for (const Factory &make : allMessages()) {
        EventRecorder events;
        auto ownedHandler = std::make_unique<RecordingHandler>(&events);
        RecordingHandler *handler = ownedHandler.get();
        const std::unique_ptr<Tessaly::Core::Message> message
            = make(std::move(ownedHandler), &events);
        message->addObserver(&events); // for the classes built with their handler alone
        const long id = message->messageId();

        const QString answer = message->handle(QStringLiteral("Print Service"), text);
        const bool accepted = handler->calls == 1;
        if (accepted) {
            QCOMPARE(answer, QStringLiteral("handled %1").arg(id));
            QCOMPARE(events.events.size(), 0);
        } else {
            QCOMPARE(handler->calls, 0);
            QVERIFY(answer.isEmpty());
            QCOMPARE(events.errorCount(), 1);
        }

        const std::unique_ptr<Tessaly::Core::Message> copy = message->clone();
        QVERIFY(copy->handler() != nullptr);
        QCOMPARE(copy->fromText(text), accepted);
        const std::unique_ptr<Tessaly::Core::Message> fresh = make(nullptr, nullptr);
        QCOMPARE(fresh->fromText(text), accepted);
        QVERIFY(message->getTextForSending().startsWith(QString::number(id) + QLatin1Char('|')));
    }
}

void tst_MessageFuzz::answersNeverCarryStraySeparators()
{
    QRandomGenerator random(4711);
    const auto value = [&random] {
        QString text;
        const int size = random.bounded(12);
        for (int i = 0; i < size; ++i) {
            const int kind = random.bounded(4);
            text += kind == 0 ? QChar(u'|')
                : kind == 1   ? QChar(0)
                              : QChar(u'a' + random.bounded(26));
        }
        return text;
    };

    for (int i = 0; i < 2000; ++i) {
        AuthenticateMsg authenticate;
        authenticate.setIsGuest(random.bounded(2));
        authenticate.setUserId(value());
        authenticate.setUserPin(value());
        PrintJobReq printJob(value());
        printJob.setPcDescription(value(), value());
        SettingsResponseMsg settings(value());

        const struct
        {
            QString text;
            int separators;
        } answers[] = {{authenticate.getTextForSending(), 5}, {printJob.getTextForSending(), 3},
            {settings.getTextForSending(), 2}};
        for (const auto &answer : answers) {
            QCOMPARE(answer.text.count(QLatin1Char('|')), answer.separators);
            QVERIFY(!answer.text.contains(QChar(0)));
        }
    }
}

QTEST_GUILESS_MAIN(tst_MessageFuzz)
#include "tst_messagefuzz.moc"
