#pragma once

#include <QByteArray>
#include <QString>

namespace logger {

// The set chosen in the logger window's box Text1.
struct SetChoice
{
    enum class Kind {
        Cleared, // not a set number (below 1, above 256): cleared silently
        Invalid, // no such set: " INVALID NO., PLEASE TRY AGAIN", then cleared
        Chosen,
    };
    Kind kind = Kind::Cleared;
    int set = 0;         // the set number (rounded, a half to even)
    int records = 0;     // its record count from the directory (recTotal)
    QString recordsText; // what the window shows as the record count
};

// What the window's set selection does with `text` (Text1), given the
// number of sets as shown (`setCountText`, Label2), the directory read by
// TIME OF RECORDING and the live valueByteFlag:
//   - the leading number of `text` below 1 or above 256: Cleared;
//   - above the number of sets, or a set the directory does not hold
//     (the list was not read, or was cut short): Invalid;
//   - otherwise Chosen, with bytes 11-12 of its entry as the record count;
//     with valueByteFlag 1 and `text` the same text as `setCountText` (the
//     last set), the count shown is one less (never below 0).
SetChoice chooseSet(const QString &text, const QString &setCountText, const QByteArray &directory,
                    qint16 valueByteFlag);

} // namespace logger
