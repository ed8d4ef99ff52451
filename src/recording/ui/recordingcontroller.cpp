#include "recording/ui/recordingcontroller.h"

#include "common/numbers.h"
#include "link/feeds.h"
#include "link/ui/clickablelabel.h"
#include "link/ui/panel.h"
#include "recording/samplingtime.h"

#include <QLabel>
#include <QPushButton>

namespace recording {

QString dataFileFilter()
{
    return QStringLiteral("Data Files (*.dat);;All Files (*)");
}

RecordingController::RecordingController(live::PANEL &panel, FileDialogMemory &dialog,
                                         QObject *parent)
    : QObject(parent)
    , panel_(panel)
    , dialog_(dialog)
{
    connect(panel.CMDSAVE, &QPushButton::clicked, this, &RecordingController::subloadfile);
    connect(panel.CMDSTART, &QPushButton::clicked, this, &RecordingController::onCmdStart);
    connect(panel.CMDSTOP, &QPushButton::clicked, this, &RecordingController::onCmdStop);
    connect(panel.CMDPC, &QPushButton::clicked, this, &RecordingController::askSamplingTime);
    connect(panel.Label8, &live::ClickableLabel::clicked, this, &RecordingController::askSamplingTime);
    connect(panel.Timer4, &platform::Timer::tick, this, &RecordingController::onTimer4Tick);
    connect(&panel, &live::PANEL::functionTextChanged, this,
            &RecordingController::onFunctionTextChanged);
}

RecordingController::~RecordingController()
{
    recorder_.stop();
}

void RecordingController::subloadfile()
{
    if (panel_.recordingOn)
        return;
    dialog_.lastName = QStringLiteral("*.dat");
    const platform::Dialogs::FileChoice choice =
        panel_.platform().dialogs->saveFile(dialog_.lastName, dataFileFilter());
    if (choice.cancelled || choice.fullName.isEmpty()) {
        panel_.CMDSTART->setEnabled(false);
        panel_.LBLFILE->setText(QString());
        return;
    }
    recordFileName_ = choice.fullName;
    dialog_.lastName = choice.fullName;
    panel_.LBLFILE->setText(recordFileName_);
    panel_.CMDSTART->setEnabled(true);
    panel_.CMDSTOP->setEnabled(false);
}

bool RecordingController::substartrecording()
{
    if (!recorder_.start(recordFileName_)) {
        panel_.platform().dialogs->message(QStringLiteral("The file ") + recordFileName_
                                               + QStringLiteral(" cannot be opened for recording: ")
                                               + recorder_.errorText(),
                                           {}, platform::MessageIcon::Critical);
        return false;
    }
    panel_.recordingOn = true;
    panel_.CMDSAVE->setEnabled(false);
    panel_.CMDSTART->setEnabled(false);
    panel_.CMDSTOP->setEnabled(true);
    panel_.Timer4->setEnabled(true);
    panel_.Timer4->setInterval(live::samplingIntervalMs(panel_.LBLSAMPLE->text()));
    return true;
}

void RecordingController::tellBrokenLineRemoved()
{
    panel_.platform().dialogs->message(
        QStringLiteral("The file ") + recordFileName_
            + QStringLiteral(" ended inside a line, cut short when it was last written: that broken "
                             "line (%1 bytes) was removed. The whole lines before it are kept and "
                             "the recording goes on after them.")
                  .arg(recorder_.cutAtStart()),
        {}, platform::MessageIcon::Information);
}

void RecordingController::subStopRecording()
{
    panel_.recordingOn = false;
    recorder_.stop();
    panel_.CMDSAVE->setEnabled(true);
    panel_.CMDSTART->setEnabled(true);
    panel_.CMDSTOP->setEnabled(false);
    panel_.Timer4->setEnabled(false);
}

void RecordingController::onCmdStart()
{
    if (panel_.LBLFILE->text().isEmpty()) {
        panel_.platform().dialogs->message(QStringLiteral("You have to open a file first ."));
        subloadfile();
        if (panel_.LBLFILE->text().isEmpty())
            return; // the dialog was cancelled: there is no file to record into
    }
    panel_.CMDOPEN->setEnabled(false);
    if (!substartrecording()) {
        panel_.CMDOPEN->setEnabled(true);
        return;
    }
    recorder_.resetCount();
    panel_.Label1->setVisible(true);
    // Last: lines may be recorded while the message is on screen.
    if (recorder_.cutAtStart() > 0)
        tellBrokenLineRemoved();
}

void RecordingController::onCmdStop()
{
    panel_.CMDOPEN->setEnabled(true);
    subStopRecording();
    recorder_.resetCount();
    panel_.shared().listFeedOn = 0;
    panel_.Label1->setText(QStringLiteral("0"));
    panel_.Label1->setVisible(false);
    panel_.Label5->setVisible(false);
}

PanelTexts RecordingController::panelTexts() const
{
    return {panel_.LBLVALUE->text(), panel_.LBLFUN->text(), panel_.LBLRAN->text(),
            panel_.LBLAD->text(), panel_.LBLBAT->text()};
}

void RecordingController::onTimer4Tick()
{
    // While the polling is paused or the link is lost the labels hold an
    // old reading: a line now would give it a time the meter never sent it.
    if (!recorder_.isOpen() || !panel_.showsLiveReading())
        return;
    if (!recorder_.writeTick(panelTexts(), panel_.platform().clock->now())) {
        stopAfterWriteFailure();
        return;
    }
    panel_.Label5->setVisible(true);
    const double shown = common::leadingNumber(panel_.Label1->text());
    panel_.Label1->setText(common::numberText(shown + 1, true));
}

void RecordingController::stopAfterWriteFailure()
{
    const QString reason = recorder_.errorText();
    const QString fileName = recordFileName_;
    const QString end = recorder_.endsInsideALine()
                            ? QStringLiteral(" The file ends with part of that line; the next "
                                             "recording into it removes it.")
                            : QString();
    onCmdStop();
    panel_.platform().dialogs->message(
        QStringLiteral("Recording stopped: a line could not be written to ") + fileName
            + QStringLiteral(" (") + reason
            + QStringLiteral("). The lines written before it are kept in the file.") + end,
        {}, platform::MessageIcon::Critical);
}

void RecordingController::askSamplingTime()
{
    platform::Dialogs &dialogs = *panel_.platform().dialogs;
    const QString answer = dialogs.input(samplingPrompt(), samplingTitle(),
                                         samplingDefaultAnswer(panel_.LBLSAMPLE->text()));
    const SamplingChoice choice = readSamplingAnswer(answer);
    if (!choice.changed)
        return;
    if (!choice.message.isEmpty())
        dialogs.message(choice.message);
    common::SharedValues &shared = panel_.shared();
    shared.pcSampling = 1;
    shared.tickPeriod = 1000;
    shared.sampleTick = sampleTickFor(choice.seconds);
    panel_.LBLSAMPLE->setText(samplingLabelText(choice.seconds));
    if (panel_.Timer4->isEnabled())
        panel_.Timer4->setInterval(samplingIntervalMs(choice.seconds));
}

void RecordingController::onFunctionTextChanged()
{
    if (!panel_.Label5->isHidden())
        onCmdStop();
}

} // namespace recording
