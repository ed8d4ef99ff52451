#pragma once

#include <QString>

namespace common {

// The decoded live reading, as the panel's labels show it.
struct MeterReading
{
    QString functionText;  // LBLFUN
    QString rangeText;     // LBLRAN
    QString valueText;     // LBLVALUE
    QString acDcText;      // LBLAD
    QString rangeModeText; // LBLAUTO
    QString batteryText;   // LBLBAT
    bool negative = false;
    bool overload = false;
    bool minMode = false;  // LABELMIN visible
    bool maxMode = false;  // LABELMAX visible
    bool relMode = false;  // Label2 ("REL") visible
};

} // namespace common
