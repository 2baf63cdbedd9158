#include "TempCursor.h"

#include <QCursor>
#include <QGuiApplication>

TempCursor::TempCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

TempCursor::~TempCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
