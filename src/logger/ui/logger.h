#pragma once

#include "logger/commandbuffer.h"
#include "logger/exchange.h"
#include "logger/loggerrequests.h"
#include "logger/setlistmodel.h"

#include <QByteArray>
#include <QWidget>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;

namespace live {
class PANEL;
}

namespace logger {

// The window "LOGGER": the meter's data logger. Opening it (and every
// later resize) reads the memory size, remaining memory, ID code and
// sampling time; its buttons list the recorded sets with their start
// times, write the ID code and the sampling time and read the meter's
// clock. A set is chosen by typing its number into Text1 or clicking its
// row; SHOW DATA (and the row click) then asks for its download through
// showDataRequested().
//
// The window is made once and kept: closing it unloads it (the main
// window's MEMORY button comes back) and open() loads it afresh. Every
// exchange with the meter goes through the shared Exchange; a button
// pressed while another exchange runs does nothing.
class LOGGER : public QWidget
{
    Q_OBJECT
public:
    LOGGER(live::PANEL &panel, Exchange &exchange, QWidget *parent = nullptr);
    ~LOGGER() override;

    // Loads and shows the window; the opening status read follows as soon
    // as events run.
    void open();
    // Closes the window: hidden, MEMORY enabled again. Nothing while it is
    // not loaded.
    void unloadWindow();
    // Between open() and unloadWindow(), shown or hidden.
    bool isLoaded() const { return loaded_; }

    // The opening status read that each resize runs.
    void openingStatusRead();

    // Event handlers, by control.
    void SSCommand1Click(); // NO.S OF SET, chains into TIME OF RECORDING
    void SSCommand2Click(); // TIME OF RECORDING
    void SSCommand3Click(); // SHOW DATA
    void SSCommand4Click(); // ID CODE
    void SSCommand5Click(); // SAMPLING
    void SSCommand6Click(); // TIME OF METER
    void Grid1Click(const QModelIndex &index);
    void Text1Change();

    QPushButton *SSCommand1, *SSCommand2, *SSCommand3, *SSCommand4, *SSCommand5, *SSCommand6;
    QLabel *Label9, *Label10, *Label11, *Label12; // fixed captions
    QLabel *Label1;                               // status caption
    QLabel *Label2;                               // number of recorded sets
    QLabel *Label3;                               // the meter's clock
    QLabel *Label4;                               // memory size
    QLabel *Label5;                               // records of the chosen set
    QLabel *Label6;                               // remaining memory
    QLabel *Label8;                               // progress of the set list and the download
    QLineEdit *Text1;                             // chosen set
    QLineEdit *Text2;                             // sampling time
    QLineEdit *Text3;                             // ID code
    QTableView *Grid1;
    QLabel *LBLFUN, *LBLRAN; // hidden: unit and range of a decoded record

    SetListModel &setList() { return setList_; }
    Exchange &exchange() { return exchange_; }
    LoggerRequests &requests() { return requests_; }
    LoggerCommandBuffer &commandBuffer() { return commandBuffer_; }
    // The "I" reply of the last TIME OF RECORDING.
    const QByteArray &setDirectory() const { return setDirectory_; }
    // The set number last accepted from Text1 (0 before any).
    int selectedSet() const { return selectedSet_; }
    live::PANEL &panel() { return panel_; }

Q_SIGNALS:
    // SHOW DATA, or a click on a set row: download the set in Text1.
    void showDataRequested(int setNumber);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    void load();
    void requestStatusRead();
    void showOpeningStatus(const OpeningStatus &status);
    void abandonOpening(const FailureNotice &notice);
    void timeOfRecording();
    void writeSetting(bool idCode);
    void setMemoryButtonEnabled(bool enabled);
    void setGridClickControlsEnabled(bool enabled);
    Caption statusCaption();

    live::PANEL &panel_;
    Exchange &exchange_;
    LoggerCommandBuffer commandBuffer_;
    LoggerRequests requests_{exchange_, commandBuffer_};
    SetListModel setList_;
    QByteArray setDirectory_;
    int selectedSet_ = 0;
    double chosenRecords_ = 0; // records of the set in Text1, for SHOW DATA
    bool loaded_ = false;
    bool statusReadQueued_ = false;
};

} // namespace logger
