#pragma once
// The station's one window: every control, the acquisition state and every handler, named
// as operators and maintainers know them. Handlers are defined in the folder of their
// subsystem (board/, display/, ...); this header is the index of the window.

#include "app/linkhealth.h"
#include "common/matrix.h"
#include "journal/disk.h"
#include "journal/recovery.h"
#include "journal/writer.h"
#include "meter/pace.h"
#include "platform/chart/graph.h"
#include "platform/serial/serialport.h"
#include "platform/system/clock.h"
#include "platform/system/wholefile.h"
#include "platform/widgets/clicklabel.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/livetext.h"
#include "platform/widgets/numedit.h"
#include "platform/widgets/twostatebutton.h"
#include "run/run.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace vemra {

struct CoefficientCheck;

// What the window stands on; the program passes the real devices, tests pass loopbacks,
// a dialog recorder and a fixed clock.
struct Platform {
    std::unique_ptr<SerialBackend> boardPort;
    std::unique_ptr<SerialBackend> meterPort;
    SerialPort::PortList systemPorts;
    std::unique_ptr<Dialogs> dialogs;  // null: message boxes on this window
    std::unique_ptr<Clock> clock;      // null: the system clock
    FileSink fileSink;                 // null: files written through QSaveFile
    journal::FileOpener journalOpener; // null: journals made as new files on the disk
    bool journal = true;               // false only where what the journal costs is measured
    std::function<void()> endProgram;  // null: the application's event loop ends

    static Platform desktop();
};

class Form1 : public QMainWindow {
    Q_OBJECT
    // The run comes first: the acquisition state below names its stores and counts.
    Run run_;

public:
    explicit Form1(Platform platform, QWidget* parent = nullptr);
    ~Form1() override;

    Dialogs& dialogs() { return *dialogs_; }
    JournalWriter& journal() { return *journal_; }
    // The check of the meter's readings against the samples still waits for the last ones.
    bool meterCheckPending() const;
    Clock& clock() { return *clock_; }
    const Run& run() const { return run_; }

    // ---- Acquisition state ----
    std::uint8_t ChannelMask = 0;
    std::uint8_t NumChannels = 0;
    std::int32_t NumAvgPoints = 0;
    std::int32_t TotalPoints = 0;
    std::int32_t& SampleCount = run_.sampleCount;
    std::int16_t AcqEnCH0 = 0;
    std::int16_t AcqEnCH1 = 0;
    std::int16_t AcqEnCH2 = 0;
    double CoeffCH0 = 1.0;
    double CoeffCH1 = 1.0;
    double CoeffCH2 = 1.0;
    Matrix& BlockData = run_.block;
    double& BlockSumCH0 = run_.blockSums[0];
    double& BlockSumCH1 = run_.blockSums[1];
    double& BlockSumCH2 = run_.blockSums[2];
    Matrix& SampleData = run_.samples;
    ReadingStore& MultData = run_.readings;
    std::int32_t& MultCount = run_.readingSlot;
    std::int32_t& SavedChannelMask = run_.snapshot.channelMask;
    std::int32_t& SavedSampleCount = run_.snapshot.sampleCount;
    bool& SavedMultEnabled = run_.snapshot.meterColumn;
    double& SavedTimeStep = run_.snapshot.timeStep;
    std::array<std::uint8_t, 1> OutBuffer{};
    bool LoadingConf = false;
    std::int16_t CommPort1 = 0;
    std::int16_t CommPort2 = 0;
    std::int32_t MultCmdIndex = 0;
    // What the run's streams lost, shown in the status bar: blocks that did not fit the run
    // store, bytes that came faster than the station took them, meter readings with no slot
    // left or no sample of the stopped run to go with.
    int& DroppedBlocks = run_.losses.droppedBlocks;
    qint64& OverrunBytes = run_.losses.overrunBytes;
    int& DroppedReadings = run_.losses.droppedReadings;
    int& LateReadings = run_.losses.lateReadings;
    // What the links brought in this run, for the status bar's link health.
    LinkCounts& LinkCount = run_.link;

    // ---- Serial links and timers ----
    SerialPort* MSComm1 = nullptr;
    SerialPort* MSComm2 = nullptr;
    QTimer* TimerSendFrame = nullptr;
    QTimer* TimerMulUpd = nullptr;

    // ---- Graphs ----
    Graph* CWGraph1 = nullptr;
    Graph* CWGraphMult = nullptr;
    TwoStateButton* CWButtonChangeScrean = nullptr;

    // ---- Always visible: run buttons and live values ----
    QPushButton* CommandSendData = nullptr; // "Start"
    QPushButton* CommandOff = nullptr;      // "Stop"
    QPushButton* CommandSave = nullptr;     // "Save"
    LiveText<QLineEdit>* TextAcq = nullptr; // "Acquired Points"
    LiveText<ClickLabel>* LabelForce = nullptr;
    LiveText<ClickLabel>* LabelCH1 = nullptr;
    LiveText<ClickLabel>* LabelCH2 = nullptr;
    QLabel* LabelAverage = nullptr;
    QLabel* LabelAverageCH1 = nullptr;
    QLabel* LabelAverageCH2 = nullptr;
    QLabel* LabelMultCH = nullptr;
    QLabel* LabelLinkHealth = nullptr; // permanent in the status bar
    QTimer* TimerLinkHealth = nullptr;

    // ---- "Serial RS 232 Communication Setup" ----
    QGroupBox* FrameDebug = nullptr;
    QComboBox* ComboPort = nullptr;
    QComboBox* ComboPort2 = nullptr;
    QPushButton* CommandCommStart = nullptr; // "Default Comm"
    ClickLabel* LabelBuff = nullptr;
    ClickLabel* LabelBuff2 = nullptr;
    QPushButton* CommandBuff = nullptr; // "Buff"

    // ---- "System Acquisition Timing" ----
    QGroupBox* FrameContols = nullptr;
    QCheckBox* CheckInf = nullptr;
    NumEdit* CWNumEditNumPoint = nullptr;
    NumEdit* CWNumEditFreq = nullptr;
    NumEdit* CWNumEditTotPoint = nullptr;
    QLabel* LabelFrequency = nullptr;
    QLabel* LabelExpTime = nullptr;

    // ---- "Advanced Graph Controls" ----
    QGroupBox* FrameGraph = nullptr;
    NumEdit* CWNumEditSpan = nullptr;
    NumEdit* CWNumEditSpanCH1 = nullptr;
    NumEdit* CWNumEditSpanCH2 = nullptr;
    QLabel* LabelSpan = nullptr;
    QLabel* LabelSpanCH1 = nullptr;
    QLabel* LabelSpanCH2 = nullptr;
    NumEdit* CWNumEdit1 = nullptr; // "Showed points"
    QPushButton* CommandResetSpan = nullptr;
    NumEdit* CWNumEditAgilMax = nullptr;
    NumEdit* CWNumEditAgilMin = nullptr;
    TwoStateButton* CWButtonGraphMerg = nullptr;

    // ---- "Channels Config." ----
    QGroupBox* FrameCoeff = nullptr;
    QCheckBox* CheckCoeff = nullptr; // hidden: driven by "Select Channels"
    QCheckBox* CheckEnCH0 = nullptr;
    QCheckBox* CheckEnCH1 = nullptr;
    QCheckBox* CheckEnCH2 = nullptr;
    QLineEdit* TextCoeff = nullptr;
    QLineEdit* TextCoeffCH1 = nullptr;
    QLineEdit* TextCoeffCH2 = nullptr;
    QLineEdit* TextLabel = nullptr;
    QLineEdit* TextLabelCH1 = nullptr;
    QLineEdit* TextLabelCH2 = nullptr;
    QLabel* LabelTest = nullptr; // hidden diagnostic

    // ---- "Agilent 34401A Advanced Setup" ----
    QGroupBox* FrameAgilent = nullptr;
    QLineEdit* TextLabelMult = nullptr;
    QPushButton* CommandResetParam = nullptr; // "INIT"
    QPushButton* CommandExit = nullptr;       // "Exit"
    QCheckBox* CheckManOperation = nullptr;
    std::array<QLabel*, 5> LabelParam{};
    QGroupBox* FrameManualOperation = nullptr;
    std::array<QLineEdit*, 6> TextCommand{};
    std::array<QPushButton*, 6> CommandMultimeter{};
    QPushButton* CommandSavParam = nullptr; // "<- Save"
    QPushButton* Command1 = nullptr;        // "Load ->"
    QPlainTextEdit* TextMultOut = nullptr;
    QPushButton* CommandClear = nullptr;
    QPushButton* CommandErr = nullptr;
    QPushButton* CommandRemote = nullptr;
    QLineEdit* TextAscii = nullptr;

    // ---- "Actuator" ----
    QGroupBox* FrameActuator = nullptr;
    TwoStateButton* CWButtonSin = nullptr;
    TwoStateButton* CWButtonSquare = nullptr;
    TwoStateButton* CWButtonTriangle = nullptr;
    TwoStateButton* CWButtonSawtoot = nullptr;
    TwoStateButton* CWButtonPWM = nullptr;
    NumEdit* CWNumEditPWM = nullptr;
    NumEdit* CWNumEditMulPeriod = nullptr;
    NumEdit* CWNumEditMulFreq = nullptr;
    QLineEdit* TextDiv = nullptr;
    QLineEdit* TextMul = nullptr;
    QLabel* LabelFreqAct = nullptr;

    // ---- Menus ----
    QMenu* File = nullptr;
    QAction* LoadConf = nullptr;
    QAction* SaveConf = nullptr;
    QAction* ExportChart = nullptr;
    QAction* KeepRawCaptures = nullptr;
    QAction* ExitProgr = nullptr;
    QMenu* Measurement = nullptr;
    QAction* EnbleAll = nullptr;
    QAction* GraphToggle = nullptr;
    QAction* AgilChann = nullptr;
    QAction* EnableActuator = nullptr;
    QMenu* SetupMenu = nullptr;
    QAction* TimeSetup = nullptr;
    QAction* SelectChannel = nullptr;
    QAction* MultimSetup = nullptr;
    QAction* DisplacementSys = nullptr;
    QAction* GraphControl = nullptr;

    // ---- Start-up and acquisition (app/, board/) ----
    void Form_Load();
    void Form_Unload();
    void SetupComm1();
    void ComboPort_Click();
    void CommandCommStart_Click();
    void CommandSendData_Click();
    void CommandOff_Click();
    void LabelBuff_Click();
    void LabelBuff2_Click();
    void MSComm1_OnComm();
    // The status bar's link health, twice a second: rates since the last tick, counts since
    // Start.
    void TimerLinkHealth_Timer();

    void CWNumEditNumPoint_ValueChanged();
    void CWNumEditFreq_ValueChanged();
    void CWNumEditTotPoint_ValueChanged();

    // ---- Actuator (actuator/) ----
    void UpdPWM();
    void StopPWM();
    void CWButtonSin_ValueChanged(bool value);
    void CWButtonSquare_ValueChanged(bool value);
    void CWButtonTriangle_ValueChanged(bool value);
    void CWButtonSawtoot_ValueChanged(bool value);
    void CWButtonPWM_ValueChanged(bool value);
    void CWNumEditPWM_ValueChanged();
    void EnableActuator_Click();
    void CWNumEditMulPeriod_ValueChanged(double value);
    void CWNumEditMulFreq_ValueChanged(double value);
    void UpdFreqAct();

    // ---- Files (files/) ----
    void CommandSave_Click();
    void LoadConf_Click();
    void SaveConf_Click();
    // "File → Export Chart…": the graph on screen as a picture.
    void ExportChart_Click();
    void exportChart(Graph* graph, const ChartExportChoice& choice);

    // ---- Panels (app/) ----
    void TimeSetup_Click();
    void GraphControl_Click();
    void MultimSetup_Click();
    void DisplacementSys_Click();
    void CommandExit_Click();

    // ---- Multimeter (meter/) ----
    void SetupComm2();
    void ComboPort2_Click();
    void CommandBuff_Click();
    void CommandRemote_Click();
    void CommandErr_Click();
    void CommandClear_Click();
    void CommandMultimeter_Click(int index);
    void CommandResetParam_Click();
    void TimerSendFrame_Timer();
    void Command1_Click();
    void CommandSavParam_Click();
    void MSComm2_OnComm();
    void TimerMulUpd_Timer();
    void TextMultOut_DblClick();
    void AgilChann_Click();
    void CWNumEditAgilMax_ValueChanged(double value);
    void CWNumEditAgilMin_ValueChanged(double value);
    void CWButtonGraphMerg_ValueChanged();
    void CWGraphMult_MouseDown(int button, int shift, double x, double y);
    void CWGraphMult_DblClick();
    void CheckManOperation_Click();
    void TextAscii_KeyPress(int& keyAscii);
    void ExitProgr_Click();
    // "File → Keep Raw Captures": a saved run's journal stays beside its data file.
    void KeepRawCaptures_Click();

    // ---- Channel display (display/) ----
    void GraphSetup();
    void CheckEnCH0_Click();
    void CheckEnCH1_Click();
    void CheckEnCH2_Click();
    void Visualizza();
    void EnbleAll_Click();
    void TextLabel_KeyPress(int& KeyAscii);
    void TextLabelCH1_KeyPress(int& KeyAscii);
    void TextLabelCH2_KeyPress(int& KeyAscii);
    void LabelForce_Click();
    void LabelCH1_Click();
    void LabelCH2_Click();
    void CWNumEditSpan_ValueChanged(double value);
    void CWNumEditSpanCH1_ValueChanged(double value);
    void CWNumEditSpanCH2_ValueChanged(double value);
    void CWNumEdit1_ValueChanged(double value);
    void CommandResetSpan_Click();
    void CWGraph1_DblClick();
    void CWGraph1_MouseDown(int button, int shift, double x, double y);
    void GraphToggle_Click();
    void CWButtonChangeScrean_ValueChanged(bool value);

    // ---- Calibration (calibration/) ----
    void TextCoeff_KeyPress(int& KeyAscii);
    void TextCoeffCH1_KeyPress(int& KeyAscii);
    void TextCoeffCH2_KeyPress(int& KeyAscii);
    void CheckCoeff_Click();
    void SelectChannel_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void buildMenus();
    QWidget* buildRunPanel();
    // The right-hand column's panels, top to bottom, each built in its subsystem's folder;
    // the manual operation panel lies inside the meter's.
    QWidget* buildSidePanels();
    QGroupBox* buildPortsPanel();
    QGroupBox* buildTimingPanel();
    QGroupBox* buildGraphPanel();
    QGroupBox* buildMeterPanel();
    QGroupBox* buildManualOperationPanel();
    QGroupBox* buildActuatorPanel();
    QGroupBox* buildChannelPanel();
    void connectHandlers();
    void connectBoardHandlers();
    void connectDisplayHandlers();
    void connectCalibrationHandlers();
    void connectActuatorHandlers();
    void connectMeterHandlers();
    void waveformChanged(TwoStateButton* button, char startByte, bool on);
    void portFailed(const QString& message);
    void showStreamLosses();
    void showReading(const QString& reading);
    void restartLinkHealth();
    // The board port is gone (unplugged, or it could not be opened again): its list becomes
    // usable so the operator can choose the port again, once the run is stopped.
    void boardPortLost();
    void channelEnableRule(int channel);
    // Sets or clears the channel's mask bit and enables its span edit as its box says
    // (a value other than 0 or 1 changes neither); returns the box's value.
    int followEnableBox(int channel);
    std::uint8_t enabledChannelCount() const;
    void fillPortList(QComboBox* list);
    // A SCPI line to the meter, dropped silently while its port is closed.
    void sendMeterLine(const QString& text);
    // The meter port could not be opened or is gone: its list becomes usable again.
    void meterPortLost();

    // One board channel's controls and coefficient (0 CH0, 1 CH1, 2 CH2).
    struct ChannelControls {
        QCheckBox* enable;
        QLineEdit* coefficientText;
        QLineEdit* label;
        double& coefficient;
        NumEdit* span;
        QLabel* spanCaption;
        QLabel* averageCaption;
        QColor colour;
    };
    ChannelControls channelControls(int channel);
    int spanAxis(int channel) const;
    void restoreView(bool resetSpans);
    void labelKeyPress(int channel, int& keyAscii);
    void coefficientKeyPress(int channel, int& keyAscii);
    void commitCoefficient(int channel);
    void refuseCoefficient(int channel, const CoefficientCheck& check);
    void enterCalibration();
    bool leaveCalibration();

    // The run's journal and its folder; why the journal stopped, shown until the next Start.
    QString journalFolder() const;
    void offerRecovery();
    void askAboutUnsaved(QList<UnsavedRun> runs);
    void readKeepRawCaptures();
    std::unique_ptr<JournalWriter> journal_;
    QString journalFailure_;

    // The meter's pace, told in the status bar until the next Start.
    std::optional<meter::MeterSetting> meterSetting(QString* unknown = nullptr) const;
    void checkMeterPace();
    void expectMeterReadings();
    void checkMeterReadings();
    QTimer* meterCheck_ = nullptr;
    QString meterPaceNote_;

    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<Clock> clock_;
    FileSink fileSink_;
    std::function<void()> endProgram_;
    SerialPort::PortList systemPorts_;
    bool unloaded_ = false;
    LinkCounts linkCountBefore_; // at the last link health update
    QDateTime linkHealthAt_;     // when that was
    QDateTime lastBoardData_;    // the last update that saw board records (or Start)
};

} // namespace vemra
