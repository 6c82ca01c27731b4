// The "Advanced Setup" panels: which can stand together.

#include "support/formfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QtTest>

using namespace vemra;
using vemra::test::FormFixture;

class PanelsTest : public QObject {
    Q_OBJECT
private slots:
    void sharingRules_data();
    void sharingRules();
    void multimeterExitAndCalibrationBox();
};

void PanelsTest::sharingRules_data() {
    QTest::addColumn<QString>("items");     // menu items chosen in turn
    QTest::addColumn<QList<bool>>("shown"); // timing, graph, multimeter, actuator
    QTest::newRow("start-up") << "" << QList<bool>{true, false, false, false};
    QTest::newRow("graph replaces timing")
        << "GraphControl" << QList<bool>{false, true, false, false};
    QTest::newRow("actuator beside timing")
        << "DisplacementSys" << QList<bool>{true, false, false, true};
    QTest::newRow("actuator beside graph")
        << "GraphControl DisplacementSys" << QList<bool>{false, true, false, true};
    QTest::newRow("multimeter alone")
        << "DisplacementSys MultimSetup" << QList<bool>{false, false, true, false};
    QTest::newRow("timing after multimeter")
        << "DisplacementSys MultimSetup TimeSetup" << QList<bool>{true, false, false, false};
    QTest::newRow("actuator closed again")
        << "DisplacementSys DisplacementSys" << QList<bool>{true, false, false, false};
}

void PanelsTest::sharingRules() {
    QFETCH(QString, items);
    QFETCH(QList<bool>, shown);
    FormFixture fx;
    Form1& f = fx.start();
    f.show();
    fx.chooseBoardPort(1);
    f.MultimSetup->setEnabled(true); // as once a meter port is chosen
    for (const QString& item : items.split(u' ', Qt::SkipEmptyParts))
        f.findChild<QAction*>(item)->trigger();
    QCOMPARE((QList<bool>{f.FrameContols->isVisible(), f.FrameGraph->isVisible(),
                          f.FrameAgilent->isVisible(), f.FrameActuator->isVisible()}),
             shown);
    QCOMPARE(f.TimeSetup->isChecked(), shown[0]);
    QCOMPARE(f.GraphControl->isChecked(), shown[1]);
    QCOMPARE(f.DisplacementSys->isChecked(), shown[3]);
}

void PanelsTest::multimeterExitAndCalibrationBox() {
    FormFixture fx;
    Form1& f = fx.start();
    f.MultimSetup->setEnabled(true);
    fx.chooseBoardPort(1);
    f.MultimSetup->trigger();
    QVERIFY(!f.CheckCoeff->isEnabled());
    f.CommandExit->click();
    QVERIFY(f.CheckCoeff->isEnabled());
    QVERIFY(f.MultimSetup->isChecked()); // "Exit" leaves the mark: the next choice only clears it
    f.MultimSetup->trigger();
    QVERIFY(!f.MultimSetup->isChecked());
    QVERIFY(!f.FrameAgilent->isVisibleTo(&f));
    f.GraphControl->trigger();
    QVERIFY(!f.CheckCoeff->isEnabled());
    f.TimeSetup->trigger();
    QVERIFY(f.CheckCoeff->isEnabled());
}

QTEST_MAIN(PanelsTest)
#include "test_panels.moc"
