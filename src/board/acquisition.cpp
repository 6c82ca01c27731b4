// Start and stop of a run, and the window's closing.

#include "app/form1.h"

#include "app/stores.h"
#include "board/protocol.h"
#include "common/numbertext.h"
#include "platform/checkvalue.h"

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
    // A new run starts from empty stores, whatever their shape.
    const int perBlock = toInt32(CWNumEditNumPoint->value());
    SampleData.redim(0, 0);
    BlockData.redim(0, 0);
    MultData.redim(0);
    readingsHeld_ = false;
    dimensionSamples(NumChannels, TotalPoints, perBlock);
    dimensionBlock(NumChannels, perBlock);
    dimensionReadings(TotalPoints);
    DroppedBlocks = 0;
    restartLinkHealth();
    OverrunBytes = 0;
    MSComm1->takeOverrun();
    DroppedReadings = 0;
    LateReadings = 0;
    statusBar()->clearMessage();

    const double period = CWNumEditFreq->value();
    if (MSComm1->portOpen())
        sendBytes(MSComm1, board::channelAndPeriodCommands(ChannelMask, period));
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
    SampleCount = 0;
    MultCount = 0;
    runRecords_ = 0;
    readingIndex_ = 0;
    runStopped_ = false;
    runActive_ = true;
    blockRecords_ = perBlock;
    AcqEnCH0 = static_cast<std::int16_t>(checkValue(CheckEnCH0));
    AcqEnCH1 = static_cast<std::int16_t>(checkValue(CheckEnCH1));
    AcqEnCH2 = static_cast<std::int16_t>(checkValue(CheckEnCH2));
    recordStream_.restart(NumChannels);

    MSComm1->clearInput();
    // Readings are numbered from this Start. What waits belongs to no reading of the run, and
    // a unit half received now has its rest passed over when it comes.
    if (checkValue(CheckManOperation) == 0) {
        readingItems_.clear();
        readingStream_.feed(MSComm2->readAllText(), readingItems_);
        readingStream_.realign();
        readingStream_.takeOutOfStep();
    }
    if (MSComm1->portOpen())
        sendByte(MSComm1, board::kStartByte);

    GraphSetup();
    runSampleGeneration_ = sampleGeneration_;
    CWGraph1->setAxisRange(1, 0, CWNumEdit1->value());
    // The chart holds as much as the run store, so the operator can look over the whole run
    // after Stop, and an endless run costs no more than that.
    CWGraph1->setMaxPointsPerTrace(TotalPoints + 2 * perBlock + 1);
    CWGraph1->clearData();
    CWGraphMult->clearData();
    CWGraphMult->setAxisAutoScale(2, true);
    CWGraphMult->setAxisRange(1, 0, CWNumEdit1->value());
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
        sendByte(MSComm1, board::kStopByte);
    else
        boardPortLost(); // lost during the run: the list is usable again now

    if (AgilChann->isChecked()) {
        // A hidden graph rescales only when it is drawn; the range it reached is wanted.
        if (CWGraphMult->axisAutoScale(2))
            CWGraphMult->autoScaleNow(2);
        CWNumEditAgilMax->setValue(CWGraphMult->axisMaximum(2));
        CWNumEditAgilMin->setValue(CWGraphMult->axisMinimum(2));
    }

    // Records held back after a failed checksum came before the stop: they belong to the run.
    records_.clear();
    recordStream_.flush(records_);
    if (!records_.empty()) {
        storeRecords();
        Visualizza();
    }

    SavedChannelMask = ChannelMask;
    SavedSampleCount = SampleCount;
    SavedMultEnabled = AgilChann->isChecked();
    SavedTimeStep = CWNumEditFreq->value() / 10.0;
    readingsHeld_ = SavedMultEnabled;
    runStopped_ = true;
    runActive_ = false;

    if (AgilChann->isChecked())
        CWButtonGraphMerg->setEnabled(true);
}

void Form1::dimensionBlock(int channels, int recordsPerBlock) {
    dimensionBlockData(BlockData, channels, recordsPerBlock);
}

void Form1::dimensionSamples(int channels, int totalPoints, int recordsPerBlock) {
    if (dimensionSampleData(SampleData, channels, totalPoints, recordsPerBlock))
        ++sampleGeneration_;
}

void Form1::dimensionReadings(int lastIndex) {
    if (!readingsHeld_)
        dimensionMultData(MultData, lastIndex);
}

bool Form1::runStillHeld() const {
    return sampleGeneration_ == runSampleGeneration_;
}

void Form1::Form_Unload() {
    CommandOff_Click();
    if (MSComm1->portOpen())
        MSComm1->close();
}

} // namespace vemra
