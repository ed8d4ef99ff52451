#include "graphs/ui/ggraphprint.h"

#include "platform/printer.h"

#include <QPainter>
#include <QRectF>

#include <algorithm>

namespace graphs {

PrintOutcome printChartImage(platform::Printer &printer, const QImage &picture,
                             const QString &documentName, double sourceDpi)
{
    QPainter *painter = printer.begin(documentName);
    if (!painter)
        return {false, printer.errorText()};

    const QRectF page = printer.pageRect();
    if (!picture.isNull() && sourceDpi > 0) {
        double scale = printer.resolution() / sourceDpi;
        scale = std::min({scale, page.width() / picture.width(), page.height() / picture.height()});
        const QRectF target(page.topLeft(), QSizeF(picture.width() * scale, picture.height() * scale));
        painter->drawImage(target, picture);
    }
    if (!printer.end()) {
        const QString reason = printer.errorText();
        return {false, reason.isEmpty() ? QStringLiteral("The page could not be printed.") : reason};
    }
    return {true, {}};
}

} // namespace graphs
