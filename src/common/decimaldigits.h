#pragma once

#include "common/numbers.h"

#include <QString>

// Digit-string arithmetic behind the number helpers. Working on digit
// texts keeps every rounding exact and free of overflow, whatever the
// exponent of a Decimal.

namespace common::detail {

// The magnitude of a decimal number split at its point.
struct DecimalDigits
{
    bool negative = false;
    QString integer;  // no leading zeros; empty for a magnitude below 1
    QString fraction; // digits after the point

    bool isZero() const;
};

// The exact digits of `value`; the fraction has no trailing zeros.
DecimalDigits exactDigits(const Decimal &value);

// `value` rounded to `fractionDigits` places after the point, a half away
// from zero. The fraction then has exactly `fractionDigits` digits.
DecimalDigits roundedAwayFromZero(const Decimal &value, int fractionDigits);

} // namespace common::detail
