// Start and stop of a run, and the window's closing.

#include "app/form1.h"

#include "board/protocol.h"
#include "common/numbertext.h"
#include "platform/widgets/checkvalue.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace vemra {

void Form1::CommandSendData_Click() {
    NumChannels = enabledChannelCount();
    const int perBlock = toInt32(CWNumEditNumPoint->value());
    AcqEnCH0 = static_cast<std::int16_t>(checkValue(CheckEnCH0));
    AcqEnCH1 = static_cast<std::int16_t>(checkValue(CheckEnCH1));
    AcqEnCH2 = static_cast<std::int16_t>(checkValue(CheckEnCH2));
    RunShape shape;
    shape.enabled = {AcqEnCH0, AcqEnCH1, AcqEnCH2};
    shape.coefficients = {CoeffCH0, CoeffCH1, CoeffCH2};
    shape.recordsPerBlock = perBlock;
    shape.totalPoints = TotalPoints;
    shape.endless = checkValue(CheckInf) == 1;
    shape.period = CWNumEditFreq->value();
    shape.labels = {TextLabel->text(), TextLabelCH1->text(), TextLabelCH2->text()};
    shape.external = AgilChann->isChecked();
    shape.meterLabel = TextLabelMult->text();
    shape.start = clock().now();
    // In manual mode the meter's characters are the manual box's, not readings of the run.
    run_.begin(shape, checkValue(CheckManOperation) == 0 ? MSComm2->readAllText() : QString());
    restartLinkHealth();
    MSComm1->takeOverrun();
    journalFailure_.clear();
    statusBar()->clearMessage();

    const double period = CWNumEditFreq->value();
    if (MSComm1->portOpen())
        sendBytes(*MSComm1, OutBuffer, board::channelAndPeriodCommands(ChannelMask, period));
    LabelFrequency->setText(fixed3Text(10000.0 / period));

    CWNumEdit1->setEnabled(false);
    CWNumEditFreq->setEnabled(false);
    CWNumEditNumPoint->setEnabled(false);
    CheckCoeff->setEnabled(false);
    FrameContols->setEnabled(false);
    CommandSendData->setEnabled(false);
    CommandOff->setEnabled(true);
    CommandSave->setEnabled(false);
    // Either would re-dimension the stores and re-open the port under the decoder.
    EnbleAll->setEnabled(false);
    SelectChannel->setEnabled(false);

    TextAcq->setText(QStringLiteral("0"));

    MSComm1->clearInput();
    if (MSComm1->portOpen())
        sendByte(*MSComm1, OutBuffer, board::kStartByte);

    GraphSetup();
    CWGraph1->setAxisRange(1, 0, CWNumEdit1->value());
    // The chart holds as much as the run store, so the operator can look over the whole run
    // after Stop, and an endless run costs no more than that.
    CWGraph1->setMaxPointsPerTrace(TotalPoints + 2 * perBlock + 1);
    CWGraph1->clearData();
    CWGraphMult->clearData();
    CWGraphMult->setAxisAutoScale(2, true);
    CWGraphMult->setAxisRange(1, 0, CWNumEdit1->value());
    checkMeterPace();
}

void Form1::CommandOff_Click() {
    CWNumEditNumPoint->setEnabled(true);
    CWNumEditFreq->setEnabled(true);
    CWNumEdit1->setEnabled(true);
    CheckCoeff->setEnabled(true);
    FrameContols->setEnabled(true);
    CommandSendData->setEnabled(true);
    CommandOff->setEnabled(false);
    CommandSave->setEnabled(true);
    EnbleAll->setEnabled(true);
    SelectChannel->setEnabled(true);

    if (MSComm1->portOpen())
        sendByte(*MSComm1, OutBuffer, board::kStopByte);

    if (AgilChann->isChecked()) {
        // A hidden graph rescales only when it is drawn; the range it reached is wanted.
        if (CWGraphMult->axisAutoScale(2))
            CWGraphMult->autoScaleNow(2);
        CWNumEditAgilMax->setValue(CWGraphMult->axisMaximum(2));
        CWNumEditAgilMin->setValue(CWGraphMult->axisMinimum(2));
    }

    RunSnapshot snapshot;
    snapshot.channelMask = ChannelMask;
    snapshot.meterColumn = AgilChann->isChecked();
    snapshot.timeStep = CWNumEditFreq->value() / 10.0;
    if (run_.stop(snapshot))
        Visualizza();
    if (!MSComm1->portOpen())
        boardPortLost(); // lost during the run: the list is usable again now

    if (AgilChann->isChecked())
        CWButtonGraphMerg->setEnabled(true);
    expectMeterReadings();
}

void Form1::Form_Unload() {
    CommandOff_Click();
    if (MSComm1->portOpen())
        MSComm1->close();
}

} // namespace vemra
