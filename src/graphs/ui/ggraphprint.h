#pragma once

#include <QImage>
#include <QString>

namespace platform {
class Printer;
}

namespace graphs {

struct PrintOutcome
{
    bool printed = false;
    QString error; // empty when printed or when the user cancelled
};

// Prints a window's picture on one page: at its size on the screen
// (sourceDpi dots per inch), made smaller only where the page is smaller,
// from the top-left corner of the printable area.
PrintOutcome printChartImage(platform::Printer &printer, const QImage &picture,
                             const QString &documentName, double sourceDpi);

} // namespace graphs
