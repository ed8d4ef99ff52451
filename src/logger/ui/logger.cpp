#include "logger/ui/logger.h"

#include "common/numbers.h"
#include "link/ui/panel.h"
#include "logger/inputnumber.h"
#include "logger/messages.h"
#include "logger/setdirectory.h"
#include "logger/setselection.h"
#include "logger/statusblock.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <limits>

namespace logger {

namespace {

// A text box read as a whole number, as the input box's default.
qint32 wholeNumberOf(const QString &text)
{
    const qint64 value = common::roundHalfEven(common::leadingDecimal(text));
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

} // namespace

LOGGER::LOGGER(live::PANEL &panel, Exchange &exchange, QWidget *parent)
    : QWidget(parent)
    , panel_(panel)
    , exchange_(exchange)
{
    setObjectName(QStringLiteral("LOGGER"));
    setWindowTitle(QStringLiteral("LOGGER"));
    buildControls();
    buildLayout();

    connect(SSCommand1, &QPushButton::clicked, this, &LOGGER::SSCommand1Click);
    connect(SSCommand2, &QPushButton::clicked, this, &LOGGER::SSCommand2Click);
    connect(SSCommand3, &QPushButton::clicked, this, &LOGGER::SSCommand3Click);
    connect(SSCommand4, &QPushButton::clicked, this, &LOGGER::SSCommand4Click);
    connect(SSCommand5, &QPushButton::clicked, this, &LOGGER::SSCommand5Click);
    connect(SSCommand6, &QPushButton::clicked, this, &LOGGER::SSCommand6Click);
    connect(Grid1, &QTableView::clicked, this, &LOGGER::Grid1Click);
    connect(Text1, &QLineEdit::textChanged, this, &LOGGER::Text1Change);
}

LOGGER::~LOGGER() = default;

Caption LOGGER::statusCaption()
{
    return [this](const QString &text) { Label1->setText(text); };
}

void LOGGER::setMemoryButtonEnabled(bool enabled)
{
    panel_.CMDMEMORY->setEnabled(enabled);
}

// --- load, unload, resize -------------------------------------------------

void LOGGER::open()
{
    load();
    show();
    raise();
    requestStatusRead();
}

void LOGGER::load()
{
    loaded_ = true;
    setMemoryButtonEnabled(false);
    SSCommand1->setEnabled(true);
    SSCommand2->setEnabled(false);
    SSCommand3->setEnabled(false);
    // A fresh window: every control as designed.
    for (QWidget *control : {static_cast<QWidget *>(SSCommand4), static_cast<QWidget *>(SSCommand5),
                             static_cast<QWidget *>(SSCommand6), static_cast<QWidget *>(Text1),
                             static_cast<QWidget *>(Text2), static_cast<QWidget *>(Grid1)})
        control->setEnabled(true);
    move(panel_.frameGeometry().width(), 0);
    for (QLabel *label : {Label1, Label2, Label3, Label4, Label5, Label6, Label8, LBLFUN, LBLRAN})
        label->clear();
    for (QLineEdit *box : {Text1, Text2, Text3})
        box->clear();
    setList_.clear();
    setDirectory_.clear();
    selectedSet_ = 0;
    chosenRecords_ = 0;
}

void LOGGER::unloadWindow()
{
    if (!loaded_)
        return;
    loaded_ = false;
    hide();
    setMemoryButtonEnabled(true);
}

void LOGGER::closeEvent(QCloseEvent *event)
{
    unloadWindow();
    event->accept();
}

void LOGGER::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (loaded_ && isVisible())
        requestStatusRead();
}

void LOGGER::requestStatusRead()
{
    // Resizes come in bursts; they share one read, run once the event that
    // caused them is over.
    if (statusReadQueued_)
        return;
    statusReadQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            statusReadQueued_ = false;
            if (loaded_ && isVisible())
                openingStatusRead();
        },
        Qt::QueuedConnection);
}

// --- opening status read ---------------------------------------------------

void LOGGER::openingStatusRead()
{
    if (!loaded_)
        return;
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    exchange_.pausePolling();
    Label1->setText(text::pleaseWait);
    const Outcome<OpeningStatus> outcome = requests_.openingStatus();
    if (!outcome.ok()) {
        abandonOpening(outcome.failure);
        return;
    }
    showOpeningStatus(*outcome.value);
    exchange_.finish(statusCaption(), [this] { Text1->setEnabled(false); });
}

void LOGGER::showOpeningStatus(const OpeningStatus &opening)
{
    Label4->setText(memorySizeText(opening.sizeK));
    Label6->setText(opening.setCount == 0
                        ? Label4->text()
                        : remainingText(opening.sizeK, opening.status.bytesInUse));
    Text3->setText(common::numberText(double(opening.status.idCode)));
    Text2->setText(common::numberText(double(opening.status.samplingTime))
                   + QStringLiteral("  sec"));
}

void LOGGER::abandonOpening(const FailureNotice &notice)
{
    exchange_.abandon(notice, statusCaption(), [this] {
        Text1->setEnabled(false);
        setMemoryButtonEnabled(true);
    });
    panel_.activateWindow();
    hide();
}

// --- set list ---------------------------------------------------------------

void LOGGER::SSCommand1Click()
{
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    exchange_.pausePolling();
    SSCommand1->setEnabled(false);
    Label1->setText(text::pleaseWaitSets);
    const Outcome<int> sets = requests_.numberOfSets();
    if (!sets.ok()) {
        exchange_.abandon(sets.failure, statusCaption(), [this] { SSCommand1->setEnabled(true); });
        return;
    }
    Label2->setText(common::numberText(double(*sets.value)));
    timeOfRecording();
}

void LOGGER::SSCommand2Click()
{
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    timeOfRecording();
}

void LOGGER::timeOfRecording()
{
    setMemoryButtonEnabled(false);
    SSCommand2->setEnabled(false);
    exchange_.pausePolling();
    const int setCount = int(
        std::clamp<qint64>(common::roundHalfEven(common::leadingDecimal(Label2->text())), 0, 255));
    setDirectory_.clear();
    Label1->setText(text::pleaseWait);

    const Outcome<QByteArray> directory = requests_.setDirectory(
        setCount, [this](qint64 collected) { Label8->setText(setsCompletedText(collected)); });
    if (!directory.ok()) {
        exchange_.abandon(directory.failure, statusCaption(), [this] {
            SSCommand1->setEnabled(true);
            setMemoryButtonEnabled(true);
        });
        return;
    }
    setDirectory_ = *directory.value;
    if (setCount > 0)
        setList_.appendRows(directoryRows(setDirectory_, setCount));

    SSCommand2->setEnabled(false);
    Label1->clear();
    requests_.releaseAfterSetList();
    setMemoryButtonEnabled(true);
    // Told once the live reading has the line again.
    if (setCount == 0)
        exchange_.dialogs().message(text::noRecords);
}

// --- set selection ----------------------------------------------------------

void LOGGER::Text1Change()
{
    const SetChoice choice
        = chooseSet(Text1->text(), Label2->text(), setDirectory_, panel_.shared().valueByteFlag);
    if (choice.kind == SetChoice::Kind::Chosen) {
        selectedSet_ = choice.set;
        chosenRecords_ = choice.records;
        Label5->setText(choice.recordsText);
        SSCommand3->setEnabled(true);
        return;
    }
    if (choice.kind == SetChoice::Kind::Invalid) {
        selectedSet_ = choice.set;
        exchange_.dialogs().message(text::invalidSet);
    }
    Text1->clear();
    Label5->clear();
    SSCommand3->setEnabled(false);
}

void LOGGER::setGridClickControlsEnabled(bool enabled)
{
    for (QWidget *control : {static_cast<QWidget *>(Grid1), static_cast<QWidget *>(SSCommand6),
                             static_cast<QWidget *>(Text2), static_cast<QWidget *>(Text1),
                             static_cast<QWidget *>(SSCommand1), static_cast<QWidget *>(SSCommand4),
                             static_cast<QWidget *>(SSCommand5)})
        control->setEnabled(enabled);
}

void LOGGER::Grid1Click(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    setGridClickControlsEnabled(false);
    // The grid's caption row is row 0, so the first set is row 1.
    Text1->setText(common::numberText(double(index.row() + 1)));
    SSCommand3Click();
    setGridClickControlsEnabled(true);
}

void LOGGER::SSCommand3Click()
{
    // The record count goes with the set that is shown, not with a number
    // typed since: the record list keeps the set it holds until then.
    panel_.shared().recTotal = chosenRecords_;
    Q_EMIT showDataRequested(selectedSet_);
}

// --- settings and clock -------------------------------------------------------

void LOGGER::SSCommand4Click()
{
    writeSetting(true);
}

void LOGGER::SSCommand5Click()
{
    writeSetting(false);
}

void LOGGER::writeSetting(bool idCode)
{
    // The question comes first, with the port left to the live reading:
    // the user may take as long as they like over it.
    if (exchange_.busy())
        return;
    QLineEdit *box = idCode ? Text3 : Text2;
    const NumberQuestion question
        = idCode ? NumberQuestion{wholeNumberOf(box->text()), 65535, QStringLiteral(" ID Code ")}
                 : NumberQuestion{wholeNumberOf(box->text()), 32767,
                                  QStringLiteral(" Sampling Time in Seconds ")};
    const qint32 r = inputnumber(exchange_.dialogs(), question);
    // Closed while the question was up: the answer goes with the window.
    if (r == 0 || !loaded_ || exchange_.ending())
        return;
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    exchange_.pausePolling();
    Label1->setText(text::pleaseWait);
    if (!exchange_.attention(attentionSeconds)) {
        exchange_.finish(statusCaption());
        return; // the program is ending
    }
    const QString shown = common::numberText(double(r), true);
    if (idCode) {
        box->setText(shown);
        requests_.writeIdCode(quint16(r));
    } else {
        box->setText(shown + QStringLiteral(" Sec"));
        requests_.writeSamplingTime(quint16(r));
    }
    exchange_.finish(statusCaption());
}

void LOGGER::SSCommand6Click()
{
    auto lock = exchange_.tryLock();
    if (!lock)
        return;
    exchange_.pausePolling();
    SSCommand6->setEnabled(false);
    Label1->setText(text::pleaseWait);
    const Outcome<MeterClock> clock = requests_.meterClock();
    const auto restore = [this] { SSCommand6->setEnabled(true); };
    if (!clock.ok()) {
        exchange_.abandon(clock.failure, statusCaption(), restore);
        return;
    }
    Label3->setText(meterClockText(*clock.value));
    exchange_.finish(statusCaption(), restore);
}

} // namespace logger
