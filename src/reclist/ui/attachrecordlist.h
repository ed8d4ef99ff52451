#pragma once

#include <QObject>

#include <memory>

namespace live {
class PANEL;
}
namespace logger {
class LoggerFeature;
}

namespace reclist {

// Attaches the downloaded-record views to the logger feature: SHOW DATA
// (and a click on a set row) of the logger window downloads the set into
// REC_LIST, with its SAVE, PRINT and GRAPH, REC_GRAPH and RANGEFORM; the
// main window's MEMORY button closes the list. The returned object owns
// those windows and must live as long as the panel and the logger feature
// (call after logger::attachLogger).
std::unique_ptr<QObject> attachRecordList(live::PANEL &panel, logger::LoggerFeature &logger);

} // namespace reclist
