#include "reclist/ui/rangeform.h"

namespace reclist {

RANGEFORM::RANGEFORM(QWidget *parent) : recording::RangeWindow(QStringLiteral("REC_RANGE"), parent)
{
    setObjectName(QStringLiteral("RANGEFORM"));
}

} // namespace reclist
