#pragma once

#include <QObject>

#include <memory>

namespace live {
class PANEL;
}

namespace recording {

// Attaches the recording feature to the panel: SAVE AS, START and STOP
// RECORDING, the sampling-time question (CMDPC and the Label8 heading),
// Timer4, the stop on a change of the function text, and OPEN FILE with the
// MEMORYLIST, MRANGE and MEMORY_GRAPH windows. The returned object owns
// them all and must live as long as the panel.
std::unique_ptr<QObject> attachRecording(live::PANEL &panel);

} // namespace recording
