#include "graphs/storedgraphdesign.h"

namespace graphs {

StoredGraphDesign memoryGraphDesign()
{
    return {};
}

StoredGraphDesign recGraphDesign()
{
    StoredGraphDesign design;
    design.caption = QStringLiteral("REC_GRAPH");
    design.valTop.box = {930, 840, 45, 210};
    design.negTop.box = {930, 6840, 45, 210};
    design.unit.box = {930, 240, 60, 285};
    design.timeLast.box = {4905, 4080, 60, 285};
    design.timeCaption.box = {4800, 3600, 945, 390};
    design.plusCaption.box = {120, 3480, 255, 495};
    design.plusCaption.points = 13.5;
    design.plusCaption.bold = false;
    design.minusCaption.box = {120, 3840, 255, 495};
    design.minusCaption.points = 18;
    design.minusCaption.bold = false;
    design.unitSuffixes = false;
    design.rangeMatch = RangeMatch::Containment;
    return design;
}

} // namespace graphs
