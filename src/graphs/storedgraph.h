#pragma once

#include "graphs/storedgraphdesign.h"
#include "graphs/storedgraphtrace.h"

#include <QImage>
#include <QPointer>
#include <QString>

class QPainter;

namespace recording {
class RecordListModel;
}

// The drawing of a stored-data graph window (MEMORY_GRAPH, REC_GRAPH): one
// routine paints the window and the printed page alike. The picture is
// fixed in twips: the time axis from x = 1000 (first record) to 5000 (last),
// the value axis from y = 1000 (maximum) over 4000 (centre line, minimum)
// to 7000 (minus the maximum), with these fixed lines:
//
//   Line7 (1000,1000)-(5000,1000) red dashed         maximum
//   Line6 (1000,2500)-(5000,2500) green dotted       upper middle
//   Line5 (1000,4000)-(5000,4000) window text, 2 px  centre line, time axis
//   Line4 (1000,5500)-(5000,5500) green dotted       lower middle
//   Line3 (1000,7000)-(5000,7000) red dashed         minus the maximum
//   Line2 (1000,900)-(1000,7100)  window text, 2 px  value axis
//   Line1 (3000,900)-(3000,7100)  green dotted       middle of the time span

namespace graphs {

// What a redraw plots, from the shared values of its window.
struct StoredGraphSelection
{
    qint64 first = 0;   // first grid row plotted
    qint64 last = 0;    // last grid row plotted
    double count = 0;   // records plotted (sets the spacing)
    double minimum = 0; // at the centre line
    double maximum = 0; // at the top line
    QString timeFirst, timeMid, timeLast;
};

// Everything one picture needs.
struct StoredGraphScene
{
    StoredGraphDesign design;
    // False: the window as designed, fixed lines and captions only (before
    // the first redraw, or when the selection holds one record).
    bool plotted = false;
    StoredGraphSelection selection;
    QPointer<const recording::RecordListModel> list; // the list grid read
};

// The texts of the labels of a plotted scene.
struct StoredGraphLabels
{
    QString valTop, valMid, zero, negMid, negTop; // max, (min+max)/2, min, and their negatives
    QString unit, timeFirst, timeMid, timeLast;
};
StoredGraphLabels storedGraphLabels(const StoredGraphScene &scene);

// The unit label for the first record's unit text: with suffixes "Cx"
// becomes "Cx nF" and "Diode" "Diode V".
QString unitLabelText(const QString &unit, bool suffixes);

// Paints the scene with the painter's origin at the client area's top left
// corner, `pixelsPerTwip` device pixels to a twip (1/15 on the screen,
// dpi / 1440 on a printer). Leaves the painter's state as it found it.
void paintStoredGraph(QPainter &painter, const StoredGraphScene &scene, double pixelsPerTwip);

// The picture as the window shows it: clientTwips at 15 twips a pixel.
QImage renderStoredGraph(const StoredGraphScene &scene);

} // namespace graphs
