#pragma once

#include <QString>

// Texts the memory operations show.

namespace logger::text {

inline const QString pleaseWait = QStringLiteral("PLEASE WAIT.....");
inline const QString pleaseWaitSets = QStringLiteral("PLEASE WAIT....");
inline const QString portWait = QStringLiteral("WAIT");

inline const QString timeOutExit = QStringLiteral("Wait Time Out ! Exit Routine !");
inline const QString timeOutTryAgain = QStringLiteral("Wait Time Out ! Try Again !");
// A reply whose length the program cannot use (too long, or cut short).
inline const QString badReply = QStringLiteral("Invalid Reply From Meter ! Try Again !");
// The serial device went away and the port says nothing more.
inline const QString portLost = QStringLiteral("Serial Port Lost ! Check the Connection !");

inline QString invalidMemorySize()
{
    return QStringLiteral("Invalid memory size information. ") + QStringLiteral("\r\n")
           + QStringLiteral("Please update memory size or check No.134 byte.")
           + QStringLiteral("\r\n") + QStringLiteral("(value from 1 to 4).");
}

inline const QString noRecords = QStringLiteral("NO RECORDS IN MEMORY!");
inline const QString invalidSet = QStringLiteral(" INVALID NO., PLEASE TRY AGAIN");
inline const QString icPairs = QStringLiteral("No.s of IC must be Pairs!");

} // namespace logger::text
