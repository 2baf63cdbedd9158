#include "NumericUnits.h"

#include <QHash>

#include <cmath>
#include <mutex>
#include <stdexcept>

namespace UtilsLib {

const QString NumericUnits::MILLISECONDS = QStringLiteral("milliseconds");
const QString NumericUnits::SECONDS = QStringLiteral("seconds");
const QString NumericUnits::MINUTES = QStringLiteral("minutes");
const QString NumericUnits::HOURS = QStringLiteral("hours");
const QString NumericUnits::DAYS = QStringLiteral("days");
const QString NumericUnits::UNKNOWN_UNITS = QStringLiteral("unknown");

namespace {
QHash<QString, double> &factorTable()
{
    static QHash<QString, double> table;
    return table;
}

std::once_flag tableFilled;
} // namespace

void NumericUnits::initialize()
{
    std::call_once(tableFilled, [] {
        QHash<QString, double> &table = factorTable();
        table.insert(MILLISECONDS, 0.001);
        table.insert(SECONDS, 1.0);
        table.insert(MINUTES, 60.0);
        table.insert(HOURS, 3600.0);
        table.insert(DAYS, 86400.0);
    });
}

double NumericUnits::getFactorFor(const QString &units)
{
    initialize();
    const auto it = factorTable().constFind(units.toLower());
    if (it == factorTable().constEnd()) {
        throw std::runtime_error(
            QStringLiteral("Conversion Failure: Unable to get conversion factor from %1 to seconds")
                .arg(units)
                .toStdString());
    }
    return it.value();
}

long NumericUnits::convert(long value, const QString &fromUnits, const QString &toUnits)
{
    try {
        const double seconds = double(value) * getFactorFor(fromUnits);
        return long(std::llround(seconds / getFactorFor(toUnits)));
    } catch (const std::runtime_error &) {
        throw std::runtime_error(
            QStringLiteral("Conversion Failure: Could not convert from %1 to %2")
                .arg(fromUnits, toUnits)
                .toStdString());
    }
}

} // namespace UtilsLib
