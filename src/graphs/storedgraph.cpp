#include "graphs/storedgraph.h"

#include "common/datarecord.h"
#include "common/numbers.h"
#include "recording/recordlistmodel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace graphs {

namespace {

constexpr double onePixel = twipsPerPixel;
constexpr double twipsPerPoint = 20;
const QColor red(255, 0, 0);
const QColor green(0, 255, 0);

struct FixedLine
{
    QLineF line;
    QColor colour;
    Qt::PenStyle style;
    double width;
};

QFont labelFont(const LabelDesign &label)
{
    QFont font(label.family);
    font.setPixelSize(qRound(label.points * twipsPerPoint)); // in twips
    font.setBold(label.bold);
    return font;
}

// Draws a label's text where the design puts it.
void drawLabel(QPainter &painter, const LabelDesign &label, const QString &text)
{
    if (text.isEmpty())
        return;
    painter.setFont(labelFont(label));
    QRectF box(label.box);
    if (label.autoSize) {
        const QFontMetricsF metrics(painter.font());
        const double width = metrics.horizontalAdvance(text);
        double left = box.left();
        if (label.alignment & Qt::AlignRight)
            left = box.right() + 1 - width;
        else if (label.alignment & Qt::AlignHCenter)
            left = box.left() + (box.width() - width) / 2;
        box = QRectF(left, box.top(), width, metrics.height());
    }
    painter.drawText(box, int(label.alignment | Qt::AlignTop | Qt::TextDontClip), text);
}

void drawFixedLines(QPainter &painter, const StoredGraphDesign &design)
{
    const FixedLine lines[] = {
        {{1000, 1000, 5000, 1000}, red, Qt::DashLine, onePixel},
        {{1000, 2500, 5000, 2500}, green, Qt::DotLine, onePixel},
        {{1000, 4000, 5000, 4000}, design.windowText, Qt::SolidLine, 2 * onePixel},
        {{1000, 5500, 5000, 5500}, green, Qt::DotLine, onePixel},
        {{1000, 7000, 5000, 7000}, red, Qt::DashLine, onePixel},
        {{1000, 900, 1000, 7100}, design.windowText, Qt::SolidLine, 2 * onePixel},
        {{3000, 900, 3000, 7100}, green, Qt::DotLine, onePixel},
    };
    for (const FixedLine &fixed : lines) {
        painter.setPen(QPen(fixed.colour, fixed.width, fixed.style, Qt::FlatCap));
        painter.drawLine(fixed.line);
    }
}

void drawCaptions(QPainter &painter, const StoredGraphDesign &design)
{
    drawLabel(painter, design.timeCaption, QStringLiteral("TIME"));
    drawLabel(painter, design.plusCaption, QStringLiteral("+"));
    drawLabel(painter, design.minusCaption, QStringLiteral("_"));
}

void drawValueLabels(QPainter &painter, const StoredGraphDesign &design,
                     const StoredGraphLabels &labels)
{
    drawLabel(painter, design.valTop, labels.valTop);
    drawLabel(painter, design.valMid, labels.valMid);
    drawLabel(painter, design.zero, labels.zero);
    drawLabel(painter, design.negMid, labels.negMid);
    drawLabel(painter, design.negTop, labels.negTop);
    drawLabel(painter, design.unit, labels.unit);
    drawLabel(painter, design.timeFirst, labels.timeFirst);
    drawLabel(painter, design.timeMid, labels.timeMid);
    drawLabel(painter, design.timeLast, labels.timeLast);
}

void drawTrace(QPainter &painter, const StoredGraphScene &scene, double pixelsPerTwip)
{
    if (!scene.list)
        return;
    const StoredGraphSelection &s = scene.selection;
    const TraceRequest request{s.first, s.last, s.count, {s.minimum, s.maximum},
                               scene.design.rangeMatch};
    const QPolygonF trace = storedGraphTrace(*scene.list, request, pixelsPerTwip);
    painter.setPen(QPen(Qt::black, onePixel, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPolyline(trace);
}

} // namespace

QString unitLabelText(const QString &unit, bool suffixes)
{
    if (suffixes && unit == QLatin1String("Cx"))
        return unit + QStringLiteral(" nF");
    if (suffixes && unit == QLatin1String("Diode"))
        return unit + QStringLiteral(" V");
    return unit;
}

StoredGraphLabels storedGraphLabels(const StoredGraphScene &scene)
{
    const StoredGraphSelection &s = scene.selection;
    const double middle = (s.minimum + s.maximum) / 2;
    StoredGraphLabels labels;
    labels.valTop = common::numberText(s.maximum);
    labels.zero = common::numberText(s.minimum);
    labels.valMid = common::numberText(middle);
    labels.negTop = common::numberText(s.maximum * -1);
    labels.negMid = common::numberText(middle * -1);
    labels.timeFirst = s.timeFirst;
    labels.timeMid = s.timeMid;
    labels.timeLast = s.timeLast;
    const QString unit = scene.list ? scene.list->cell(1, common::DataRecord::Unit) : QString();
    labels.unit = unitLabelText(unit, scene.design.unitSuffixes);
    return labels;
}

void paintStoredGraph(QPainter &painter, const StoredGraphScene &scene, double pixelsPerTwip)
{
    painter.save();
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(clientTwips)), scene.design.background);
    if (scene.plotted)
        drawTrace(painter, scene, pixelsPerTwip);
    drawFixedLines(painter, scene.design);
    painter.setPen(scene.design.windowText);
    drawCaptions(painter, scene.design);
    if (scene.plotted)
        drawValueLabels(painter, scene.design, storedGraphLabels(scene));
    painter.restore();
}

QImage renderStoredGraph(const StoredGraphScene &scene)
{
    const QSize pixels(clientTwips.width() / twipsPerPixel, clientTwips.height() / twipsPerPixel);
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(scene.design.background);
    QPainter painter(&image);
    paintStoredGraph(painter, scene, screenPixelsPerTwip);
    return image;
}

} // namespace graphs
