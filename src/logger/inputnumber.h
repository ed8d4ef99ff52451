#pragma once

#include "platform/dialogs.h"

#include <QString>

namespace logger {

// A whole number asked for with an input box, 1 to max.
struct NumberQuestion
{
    qint32 defaultValue = 0;
    qint32 max = 0;
    QString name; // e.g. " ID Code " (blanks included)
};

// inputnumber: asks "Enter the " + name + "(1 <= t <= " + max + " ) " with
// the title "Input " + name and the default written as the answer (numbers
// with one leading blank). An empty answer (or Cancel) gives 0. Otherwise
// the first "," becomes "." and the leading number is read: above max it
// is set to max with "Number Too Large ! Set Value to " + max + "!", below
// 1 it is set to 1 with "Number Too Small ! Set Value to 1 !"; the result
// is rounded, a half to the even integer.
qint32 inputnumber(platform::Dialogs &dialogs, const NumberQuestion &question);

} // namespace logger
