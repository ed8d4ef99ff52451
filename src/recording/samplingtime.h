#pragma once

#include "common/numbers.h"

#include <QString>
#include <QtGlobal>

// The sampling-time question of the panel (PC SAMPLING, or a click on the
// SAMPLINGTIME heading): what it asks and what an answer sets.

namespace recording {

// "Input Sampling Time"
QString samplingTitle();
// "Enter the SAMPLING TIME in seconds" CR LF "(1 <= t <= 60) "
QString samplingPrompt();
// The proposed answer: the sampling label's leading number with "##.#"
// ("2.0 Sec" -> "2.").
QString samplingDefaultAnswer(const QString &samplingLabel);

struct SamplingChoice
{
    bool changed = false;    // false: empty answer (or Cancel), nothing changes
    common::Decimal seconds; // t, from 1 to 60
    QString message;         // the message to show first when t was clamped
};

// Reads an answer: the first "," becomes "."; t is its leading number
// (0 when none); above 60 it is clamped to 60, below 1 to 1, with the
// message for each.
SamplingChoice readSamplingAnswer(const QString &answer);

// t with "##.0" and " Sec": 2 -> "2.0 Sec", 12.5 -> "12.5 Sec".
QString samplingLabelText(const common::Decimal &seconds);
// t - 1 rounded to an integer, halves to the even one.
qint16 sampleTickFor(const common::Decimal &seconds);
// t x 1000 rounded to whole milliseconds.
int samplingIntervalMs(const common::Decimal &seconds);

} // namespace recording
