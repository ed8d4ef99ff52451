#pragma once

#include <QString>

class QPainter;
class QRectF;

namespace platform {

// A print job. begin() asks the user where to print (a printer, or a PDF
// file) and may be refused; the caller then paints page by page.
class Printer
{
public:
    virtual ~Printer() = default;

    // Starts a document. Returns nullptr when the user cancels or the
    // printer cannot be opened; errorText() then says why (empty on cancel).
    virtual QPainter *begin(const QString &documentName) = 0;

    // The printable area of a page, in the painter's coordinates.
    virtual QRectF pageRect() const = 0;

    // Resolution of the page in dots per inch.
    virtual int resolution() const = 0;

    virtual bool newPage() = 0;

    // Ends the document and sends it; false when it could not be completed.
    virtual bool end() = 0;

    // Stops a document part way without sending it: nothing more reaches
    // the printer and no PDF file is left behind. A job that is not ended
    // or aborted is aborted when it is destroyed.
    virtual void abort() = 0;

    virtual QString errorText() const = 0;
};

} // namespace platform
