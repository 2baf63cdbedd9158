#pragma once

#include <QString>

namespace UtilsLib {

// Time units that a preference value may carry, and conversion between them.
class NumericUnits
{
public:
    static const QString MILLISECONDS;
    static const QString SECONDS;
    static const QString MINUTES;
    static const QString HOURS;
    static const QString DAYS;
    static const QString UNKNOWN_UNITS;

    static void initialize();

    // Both throw std::runtime_error for a unit that is empty or not in the table.
    static long convert(long value, const QString &fromUnits, const QString &toUnits);
    static double getFactorFor(const QString &units);
};

} // namespace UtilsLib
