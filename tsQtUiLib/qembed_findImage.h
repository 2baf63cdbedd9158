#pragma once

#include <QImage>
#include <QString>

// The pictures compiled into the program, by exact (case-sensitive) name. Each
// is made once and kept; an unknown name gives a null image.
const QImage &qembed_findImage(const QString &name);
