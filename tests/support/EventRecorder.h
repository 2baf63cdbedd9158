#pragma once

#include "ObservableEvent.h"
#include "Observer.h"

#include <QList>
#include <QStringList>

// Keeps every event an observed object announces.
class EventRecorder : public UtilsLib::Observer
{
public:
    void notify(const UtilsLib::ObservableEvent &event) override { events.append(event); }

    // "<category> <details>" of every event but the entry and exit traces.
    QStringList lines() const
    {
        QStringList found;
        for (const UtilsLib::ObservableEvent &event : events) {
            if (event.category() != QLatin1String("Trace"))
                found.append(event.category() + QLatin1Char(' ') + event.details());
        }
        return found;
    }

    // The details of every event, or of those of one category.
    QStringList details(const QString &category = QString()) const
    {
        QStringList found;
        for (const UtilsLib::ObservableEvent &event : events) {
            if (category.isEmpty() || event.category() == category)
                found.append(event.details());
        }
        return found;
    }

    int count(const QString &linePrefix) const
    {
        int n = 0;
        for (const QString &line : lines())
            n += line.startsWith(linePrefix) ? 1 : 0;
        return n;
    }

    int errorCount() const
    {
        int n = 0;
        for (const UtilsLib::ObservableEvent &event : events)
            n += event.severityCode() == 1 ? 1 : 0;
        return n;
    }

    QList<UtilsLib::ObservableEvent> events;
};
