// "Channels Config." and the main graph's view as the operator uses them: the coefficient
// fields, the calibration mode, channel enables and labels, spans, view reset and drags.

#include "common/numbertext.h"
#include "support/formfixture.h"

#include <qcustomplot.h>
#include <tuple>

using namespace vemra::test;

namespace {

void enter(QLineEdit* box, const QString& keys) {
    QTest::keyClicks(box, keys);
    QTest::keyClick(box, Qt::Key_Return);
}

// What the window said, a word a message: "range" for the range warning, "number" for a
// refused text (both titled "Warning!"), else its title.
QString told(const FormFixture& fx) {
    QStringList words;
    for (const RecordingDialogs::Shown& m : fx.dialogs->shown)
        words << (m.title != u"Warning!" ? m.title
                  : m.text.startsWith("Coefficient value out of the range \r\n1E-06  -  1000000")
                      ? QStringLiteral("range")
                  : m.text.contains("is not a number") ? QStringLiteral("number")
                                                       : m.title);
    return words.join(u' ');
}

// In the calibration mode with CH0 at 2, CH1 at 3, CH2 at 4, all enabled.
Form1& calibrating(FormFixture& fx) {
    Form1& f = fx.start();
    std::tie(f.CoeffCH0, f.CoeffCH1, f.CoeffCH2) = std::tuple(2.0, 3.0, 4.0);
    fx.enableChannels(7);
    fx.chooseBoardPort(1);
    f.SelectChannel->trigger();
    return f;
}

} // namespace

class ChannelsTest : public QObject {
    Q_OBJECT
private slots:
    // Enter in the CH0 field: the keys filtered, the value committed, or refused with a word.
    void coefficientCommit_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("coefficient");
        QTest::addColumn<QString>("said");
        const std::tuple<const char*, const char*, double, const char*> rows[] = {
            {"", "1E-06", 1e-6, "range"},         {"0", "1E-06", 1e-6, "range"},
            {"0.000001", "0,000001", 1e-6, ""},   {"1000000", "1000000", 1e6, ""},
            {"1000001", "1000000", 1e6, "range"}, {"a2-.5 +E", "2,5", 2.5, ""},
            {"1,2,3", "2", 2.0, "number"},        {",", "2", 2.0, "number"}};
        for (const auto& [keys, field, coefficient, said] : rows)
            QTest::addRow("'%s'", keys)
                << QString(keys) << QString(field) << coefficient << QString(said);
    }
    void coefficientCommit() {
        QFETCH(QString, keys);
        QFETCH(double, coefficient);
        QFETCH(QString, said);
        FormFixture fx;
        Form1& f = calibrating(fx);
        f.TextCoeff->clear();
        enter(f.TextCoeff, keys);
        QTEST(f.TextCoeff->text(), "field");
        QCOMPARE(f.CoeffCH0, coefficient);
        QCOMPARE(told(fx), said);
        // Only an accepted value rebuilds the plots.
        QCOMPARE(f.CWGraph1->axisMaximum(2), said.isEmpty() ? coefficient * 1023 : 2046.0);
    }

    // Leaving the mode commits all three fields, or refuses on the first field, in channel
    // order, that is out of range (it takes the bound it broke) or no number; every field
    // shows its coefficient afterwards.
    void leaveOrder_data() {
        QTest::addColumn<QStringList>("texts"); // typed into the fields without Enter
        QTest::addColumn<QList<double>>("coefficients");
        QTest::addColumn<QString>("said");
        const std::tuple<const char*, QStringList, QList<double>, const char*> rows[] = {
            {"all in range", {"5", "0,5", "1E-06"}, {5, 0.5, 1e-6}, ""},
            {"CH1 empty", {"5", "", "1"}, {2, 1e-6, 4}, "range"},
            {"CH0 zero, CH2 above", {"0", "1", "2000000"}, {1e-6, 3, 4}, "range"},
            {"CH2 above", {"5", "1", "2000000"}, {2, 3, 1e6}, "range"},
            {"CH1 no number", {"5", "1,2,3", "0"}, {2, 3, 4}, "number"}};
        for (const auto& [name, texts, coefficients, said] : rows)
            QTest::newRow(name) << texts << coefficients << QString(said);
    }
    void leaveOrder() {
        QFETCH(QStringList, texts);
        QFETCH(QList<double>, coefficients);
        QFETCH(QString, said);
        FormFixture fx;
        Form1& f = calibrating(fx);
        QLineEdit* fields[] = {f.TextCoeff, f.TextCoeffCH1, f.TextCoeffCH2};
        for (int ch = 0; ch < 3; ++ch)
            fields[ch]->setText(texts[ch]);
        fx.board->clearLog();
        f.SelectChannel->trigger();

        QCOMPARE((QList<double>{f.CoeffCH0, f.CoeffCH1, f.CoeffCH2}), coefficients);
        QCOMPARE(told(fx), said);
        for (int ch = 0; ch < 3; ++ch)
            QCOMPARE(fields[ch]->text(), generalText(coefficients[ch]));
        // Left: the panel closes, the acquisition is unlocked and the port re-opened for the
        // channels. The meter's setup, its port closed, stays locked either way.
        const bool left = said.isEmpty();
        QCOMPARE(flags({f.FrameCoeff->isHidden(), f.CommandSendData->isEnabled(),
                        f.FrameContols->isEnabled(), fx.board->log().contains("close"),
                        f.MultimSetup->isEnabled()}),
                 left ? "11110" : "00000");
        QCOMPARE(f.LabelTest->text(), QStringLiteral("3\t7"));
        QCOMPARE(f.CWGraph1->axisMaximum(2), f.CoeffCH0 * 1023);
        // The menu's mark follows the mode: the next choice closes a panel that stayed open.
        f.SelectChannel->trigger();
        QCOMPARE(f.FrameCoeff->isHidden(), !left);
    }

    void channelFieldsTakeTheirKeysOnlyWhenEnabled() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.chooseBoardPort(1);
        fx.chooseMeterPort(1);
        f.SelectChannel->trigger();
        QVERIFY(!f.MultimSetup->isEnabled()); // locked while calibrating, its port open
        // A disabled channel's fields take no key, Enter included: nothing is committed.
        f.TextCoeffCH1->setText(QStringLiteral("5"));
        enter(f.TextCoeffCH1, QStringLiteral("0"));
        enter(f.TextLabelCH2, QStringLiteral("x"));
        QCOMPARE(f.TextCoeffCH1->text() + '|' + f.TextLabelCH2->text() + '|' +
                     QString::number(f.CoeffCH1),
                 QStringLiteral("5|CH2 (a.u.)|1"));

        // A digit in the CH1 field rebuilds the plots at once, as in no other field.
        fx.enableChannels(7);
        f.LabelForce->setText(QStringLiteral("7"));
        QTest::keyClick(f.TextCoeff, '5');
        QTest::keyClick(f.TextCoeffCH2, '5');
        QCOMPARE(f.LabelForce->text(), QStringLiteral("7"));
        QTest::keyClick(f.TextCoeffCH1, '5');
        QCOMPARE(f.LabelForce->text(), QString());

        // Enter in a label renames the channel's captions and axis; a click empties a value.
        enter(f.TextLabel, QStringLiteral("!"));
        enter(f.TextLabelCH1, QStringLiteral(" X"));
        QCOMPARE((QStringList{f.LabelSpan->text(), f.LabelAverageCH1->text(),
                              f.LabelSpanCH1->text(), f.CWGraph1->axisCaption(3)}),
                 (QStringList{"Max Span Force (g)!", "Average CH1 (a.u.) X",
                              "Max Span CH1 (a.u.) X", "CH1 (a.u.) X"}));
        f.LabelCH1->setText(QStringLiteral("5"));
        QTest::mouseClick(f.LabelCH1, Qt::LeftButton);
        QCOMPARE(f.LabelCH1->text(), QString());

        // "Enable All Channels": every box on, the port set up for three channels' records.
        // Disabling a channel takes the mark away; choosing the item when marked only unmarks.
        f.SelectChannel->trigger();
        QVERIFY(f.MultimSetup->isEnabled()); // given back on leaving, its port open
        f.EnbleAll->trigger();
        QVERIFY(f.EnbleAll->isChecked() && f.CWNumEditSpanCH2->isEnabled());
        QVERIFY(f.ChannelMask == 7 && f.MSComm1->rThreshold() == 8 * 10);
        f.CheckEnCH1->click();
        QVERIFY(!f.EnbleAll->isChecked());
        f.CheckEnCH1->click();
        f.EnbleAll->trigger();
        f.EnbleAll->trigger();
        QVERIFY(!f.EnbleAll->isChecked() && f.ChannelMask == 7);
    }

    void stoppedRunSurvivesTheChannelControls() {
        FormFixture fx;
        Form1& f = fx.start();
        fx.startRun(1000);
        fx.sendBlocks(0, 20);
        f.CommandOff->click();
        f.SelectChannel->trigger();
        enter(f.TextLabel, QStringLiteral("!"));
        f.TextCoeff->clear();
        enter(f.TextCoeff, QStringLiteral("2"));
        f.SelectChannel->trigger();
        f.CommandSave->click();
        QCOMPARE(told(fx), QStringLiteral("DOWNLOAD"));
        QCOMPARE(fx.dataLines().size(), 1 + 20 + 1);

        // Channels changed in the panel re-dimension the store: no "Save" for a run now gone.
        f.SelectChannel->trigger();
        f.CheckEnCH1->click();
        f.SelectChannel->trigger();
        QVERIFY(!f.CommandSave->isEnabled());
    }

    void eachLayoutGetsItsAxesAndResetSpans_data() {
        QTest::addColumn<int>("mask");
        for (int mask = 1; mask < 8; ++mask)
            QTest::addRow("mask %d", mask) << mask;
    }
    void eachLayoutGetsItsAxesAndResetSpans() {
        QFETCH(int, mask);
        FormFixture fx;
        Form1& f = fx.start();
        f.CoeffCH0 = f.CoeffCH1 = f.CoeffCH2 = 2;
        fx.enableChannels(7); // a previous layout with every axis, to be replaced
        fx.enableChannels(mask);
        f.GraphSetup(); // a second run over the same layout adds nothing
        Graph& g = *f.CWGraph1;
        const QColor colours[] = {QColor(0, 255, 0), QColor(255, 0, 0), QColor(0, 0, 255)};
        NumEdit* spans[] = {f.CWNumEditSpan, f.CWNumEditSpanCH1, f.CWNumEditSpanCH2};
        QList<int> shown; // the enabled channels in trace order
        QList<double> before;
        for (int ch = 0; ch < 3; ++ch) {
            QCOMPARE(spans[ch]->isEnabled(), bool(mask & 1 << ch));
            if (mask & 1 << ch)
                shown << ch;
            before << spans[ch]->value();
        }
        const int n = int(shown.size());
        QCOMPARE(
            (QList<int>{f.BlockData.rows(), f.SampleData.rows(), g.traceCount(), g.axisCount()}),
            (QList<int>{n, n, n, n + 1}));

        // The first channel takes the primary value axis (2), every further one an axis of its
        // own on the other side; each channel's span edit then moves its own axis.
        for (int k = 0; k < n; ++k) {
            QVERIFY(g.traceColor(k) == colours[shown[k]] &&
                    g.axisTickColor(k + 2) == colours[shown[k]]);
            QCOMPARE((QList<double>{double(g.traceAxis(k)), double(g.axisOpposite(k + 2)),
                                    g.axisMinimum(k + 2), g.axisMaximum(k + 2)}),
                     (QList<double>{double(k + 2), double(k > 0), 0, 2046}));
            spans[shown[k]]->setValue(100 + shown[k]);
        }
        for (int k = 0; k < n; ++k)
            QCOMPARE(g.axisMaximum(k + 2), 100.0 + shown[k]);

        g.setAxisRange(1, 300, 400);
        f.CommandResetSpan->click();
        QCOMPARE((QList<double>{g.axisMinimum(1), g.axisMaximum(1)}),
                 (QList<double>{0, f.CWNumEdit1->value()}));
        for (int ch = 0; ch < 3; ++ch)
            QCOMPARE(spans[ch]->value(), mask & 1 << ch ? 510.0 : before[ch]); // coefficient × 255
        for (int k = 0; k < n; ++k)
            QCOMPARE(g.axisMaximum(k + 2), 510.0);
    }

    void viewEditsAndDoubleClickRestoreTheGraphs() {
        FormFixture fx;
        Form1& f = fx.start();
        Graph& g = *f.CWGraph1;
        // "Showed points" sets the x range of both graphs, however far the chart had scrolled.
        g.setAxisRange(1, 4000, 5000);
        f.CWNumEdit1->setValue(2000);
        QCOMPARE((QList<double>{g.axisMinimum(1), g.axisMaximum(1), f.CWGraphMult->axisMaximum(1)}),
                 (QList<double>{0, 2000, 2000}));

        // A double-click restores x and each channel's axis to its span edit.
        f.show();
        f.CWNumEditSpan->setValue(500);
        g.setAxisRange(1, 10, 20);
        g.setAxisRange(2, -5, 5);
        QTest::mouseDClick(g.plot(), Qt::LeftButton);
        QCOMPARE(
            (QList<double>{g.axisMinimum(1), g.axisMaximum(1), g.axisMinimum(2), g.axisMaximum(2)}),
            (QList<double>{0, 2000, 0, 500}));

        // "Enable Graph" hides the graph; "Meter Graph" shows the multimeter's in its place,
        // until it is switched off.
        f.GraphToggle->trigger();
        QVERIFY(g.isHidden() && !f.GraphToggle->isChecked());
        f.GraphToggle->trigger();
        f.CWButtonChangeScrean->setValue(true);
        QVERIFY(!g.isHidden() && f.GraphToggle->isChecked() && f.CWGraphMult->isVisible());
        f.CWButtonChangeScrean->setValue(false);
        QVERIFY(g.isVisible() && f.CWGraphMult->isHidden());
    }

    void dragFollowsTheModifiers_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("held");
        QTest::addColumn<QString>("effect"); // on x then y: z zoomed, p panned, - unchanged
        QTest::newRow("none") << Qt::KeyboardModifiers() << "z-";
        QTest::newRow("Ctrl") << Qt::KeyboardModifiers(Qt::ControlModifier) << "zz";
        QTest::newRow("Shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << "pp";
        QTest::newRow("Shift Ctrl") << (Qt::ShiftModifier | Qt::ControlModifier) << "z-";
    }
    void dragFollowsTheModifiers() {
        QFETCH(Qt::KeyboardModifiers, held);
        FormFixture fx;
        Form1& f = fx.start();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCustomPlot* plot = f.CWGraph1->plot();
        const QPoint from = plot->axisRect()->rect().center();
        const QCPRange before[] = {plot->xAxis->range(), plot->yAxis->range()};
        QTest::mousePress(plot, Qt::LeftButton, held, from - QPoint(60, 40));
        QTest::mouseMove(plot, from + QPoint(60, 40));
        QTest::mouseRelease(plot, Qt::LeftButton, held, from + QPoint(60, 40));
        QString effect;
        for (const QCPAxis* axis : {plot->xAxis, plot->yAxis}) {
            const QCPRange was = before[axis == plot->yAxis], now = axis->range();
            effect += now == was ? u'-' : qFuzzyCompare(now.size(), was.size()) ? u'p' : u'z';
        }
        QTEST(effect, "effect");
    }
};

QTEST_MAIN(ChannelsTest)
#include "test_channels.moc"
