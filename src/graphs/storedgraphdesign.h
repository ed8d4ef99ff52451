#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>

// The design of the two stored-data graph windows: the opened-file graph
// MEMORY_GRAPH and its twin for downloaded records, REC_GRAPH. Everything
// is in twips (1/1440 inch, 15 twips a pixel on the screen). The members'
// defaults are MEMORY_GRAPH's design; recGraphDesign() changes only the
// points where REC_GRAPH differs.

namespace graphs {

constexpr int twipsPerPixel = 15;
constexpr double screenPixelsPerTwip = 1.0 / twipsPerPixel;
// The client area; the drawing never changes with the window's size.
constexpr QSize clientTwips{5940, 7455};

// How a range cell is matched against the range factor table.
enum class RangeMatch {
    Exact,       // the cell equals a table text
    Containment, // the first table text found anywhere inside the cell
};

// One label of the design. Fonts stand in for the design's own: Liberation
// Sans for Arial, Liberation Serif for Times New Roman, DejaVu Sans for MS
// Sans Serif.
struct LabelDesign
{
    QRect box;                          // left, top, width, height in twips
    Qt::Alignment alignment = Qt::AlignLeft;
    QString family;
    double points = 8.25;
    bool bold = true;
    // Sized to its text at run time, keeping the designed left edge (left
    // alignment), centre (centred) or right edge (right alignment).
    bool autoSize = true;
};

struct StoredGraphDesign
{
    QString caption = QStringLiteral("MEMORY_GRAPH");

    // Value labels, top to bottom: maximum, (min + max) / 2, minimum,
    // -(min + max) / 2, -maximum.
    LabelDesign valTop{{930, 960, 45, 210}, Qt::AlignRight, QStringLiteral("Liberation Sans"), 8.25};
    LabelDesign valMid{{930, 2400, 45, 210}, Qt::AlignRight, QStringLiteral("Liberation Sans"), 8.25};
    LabelDesign zero{{930, 3840, 45, 210}, Qt::AlignRight, QStringLiteral("Liberation Sans"), 8.25};
    LabelDesign negMid{{930, 5400, 45, 210}, Qt::AlignRight, QStringLiteral("Liberation Sans"), 8.25};
    LabelDesign negTop{{840, 6840, 45, 210}, Qt::AlignRight, QStringLiteral("Liberation Sans"), 8.25};
    // Unit, and the times of the first, middle and last plotted record.
    LabelDesign unit{{930, 360, 75, 285}, Qt::AlignHCenter, QStringLiteral("Liberation Serif"), 12};
    LabelDesign timeFirst{{1080, 4080, 60, 285}, Qt::AlignLeft, QStringLiteral("Liberation Serif"), 12};
    LabelDesign timeMid{{2970, 4080, 75, 285}, Qt::AlignHCenter, QStringLiteral("Liberation Serif"), 12};
    LabelDesign timeLast{{4995, 4080, 60, 285}, Qt::AlignRight, QStringLiteral("Liberation Serif"), 12};
    // Fixed captions "TIME", "+" and "_".
    LabelDesign timeCaption{{4920, 3600, 1095, 375}, Qt::AlignLeft, QStringLiteral("Liberation Serif"), 18, true, false};
    LabelDesign plusCaption{{120, 3600, 255, 255}, Qt::AlignLeft, QStringLiteral("DejaVu Sans"), 12, true, false};
    LabelDesign minusCaption{{120, 3960, 255, 375}, Qt::AlignLeft, QStringLiteral("DejaVu Sans"), 9.75, true, false};

    // The unit label adds " nF" to "Cx" and " V" to "Diode".
    bool unitSuffixes = true;
    RangeMatch rangeMatch = RangeMatch::Exact;

    // Colours the platform supplies: the background is the system colour
    // for highlighted text; the centre line and the value axis use the
    // window text colour.
    QColor background = Qt::white;
    QColor windowText = Qt::black;
};

// MEMORY_GRAPH: the defaults.
StoredGraphDesign memoryGraphDesign();
// REC_GRAPH: caption, LblValTop, TopLbl, LblUnit, LblT3 and the three fixed
// captions placed differently, the unit shown as it is, range cells matched
// by containment.
StoredGraphDesign recGraphDesign();

} // namespace graphs
