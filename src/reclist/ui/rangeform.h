#pragma once

#include "recording/ui/rangewindow.h"

namespace reclist {

// The range window of the downloaded-record graph, "REC_RANGE": the twin
// of MRANGE.
class RANGEFORM : public recording::RangeWindow
{
    Q_OBJECT
public:
    explicit RANGEFORM(QWidget *parent = nullptr);
};

} // namespace reclist
