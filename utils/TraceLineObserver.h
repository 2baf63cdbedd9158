#pragma once

#include "Observer.h"

#include <QFile>
#include <QString>

class QIODevice;

namespace UtilsLib {

// Writes every event it is told of as one line:
//   2026-12-08 14:03:07.512 Info KoaMessageDispatcher dispatch: Message to dispatch=hello
// Line breaks inside the details are written as \n so that one event stays one line.
class TraceLineObserver : public Observer
{
public:
    // Appends to the file, which only its owner may read (see PrivateFile);
    // isOpen() tells whether it could be opened.
    explicit TraceLineObserver(const QString &fileName);
    // Writes to a device that stays the caller's.
    explicit TraceLineObserver(QIODevice *device);

    bool isOpen() const;
    void notify(const ObservableEvent &event) override;

    static QString formatLine(const ObservableEvent &event);

private:
    QFile m_file;
    QIODevice *m_device;
};

} // namespace UtilsLib
