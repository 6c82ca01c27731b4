#include "platform/dialogs.h"
#include "platform/keypress.h"
#include "platform/numedit.h"
#include "platform/twostatebutton.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using namespace vemra;

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void numEditShowsNumberText_data();
    void numEditShowsNumberText();
    void numEditTakesTypedText_data();
    void numEditTakesTypedText();
    void numEditSignalsOnlyRealChanges();
    void twoStateButtonSignalsEveryChange();
    void keyHandlerSeesCodes_data();
    void keyHandlerSeesCodes();
    void keyHandlerLeavesOtherKeys();
    void enterReachesTheBox();
    void messageBoxOpensWithoutBlocking();
};

void TestWidgets::numEditShowsNumberText_data() {
    QTest::addColumn<bool>("exponent");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("decimal comma") << false << 2.5 << "2,5";
    QTest::newRow("small coefficient") << false << 0.001023 << "0,001023";
    QTest::newRow("lower bound") << false << 1e-6 << "1E-06";
    QTest::newRow("large") << false << 64000.0 << "64000";
    QTest::newRow("exponent") << true << 1000.0 << "1,00e3";
    QTest::newRow("exponent small") << true << 0.00123 << "1,23e-3";
    QTest::newRow("exponent rounds up") << true << 9999.0 << "1,00e4";
    QTest::newRow("exponent negative") << true << -250.0 << "-2,50e2";
    QTest::newRow("exponent zero") << true << 0.0 << "0,00e0";
}

void TestWidgets::numEditShowsNumberText() {
    QFETCH(bool, exponent);
    QFETCH(double, value);
    QFETCH(QString, text);

    NumEdit edit;
    edit.setExponentDisplay(exponent);
    edit.setup(value, -100000, 100000, 1);
    QCOMPARE(edit.text(), text);
    QCOMPARE(edit.value(), value);
}

void TestWidgets::numEditTakesTypedText_data() {
    QTest::addColumn<bool>("exponent");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");

    QTest::newRow("decimal comma") << false << "2,5" << 2.5;
    QTest::newRow("decimal point") << false << "2.5" << 2.5;
    QTest::newRow("exponent") << false << "1E-06" << 1e-6;
    QTest::newRow("letters refused") << false << "2x5" << 25.0;
    QTest::newRow("above the limit") << false << "500" << 100.0;
    QTest::newRow("below the limit") << false << "-3" << 0.0;
    QTest::newRow("exponent display") << true << "2,5e1" << 25.0;
}

void TestWidgets::numEditTakesTypedText() {
    QFETCH(bool, exponent);
    QFETCH(QString, typed);
    QFETCH(double, value);

    NumEdit edit;
    edit.setExponentDisplay(exponent);
    edit.setup(1, 0, 100, 1);
    QSignalSpy changed(&edit, &NumEdit::valueChanged);
    edit.selectAll();
    QTest::keyClicks(&edit, typed);
    QCOMPARE(changed.count(), 0);
    QTest::keyClick(&edit, Qt::Key_Enter);
    QCOMPARE(edit.value(), value);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toDouble(), value);
}

void TestWidgets::numEditSignalsOnlyRealChanges() {
    NumEdit edit;
    QSignalSpy changed(&edit, &NumEdit::valueChanged);
    edit.setup(400, 10, 64000, 1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(edit.value(), 400.0);

    edit.setValue(400);
    QCOMPARE(changed.count(), 0);

    edit.setValue(401);
    edit.stepUp();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(edit.value(), 402.0);

    edit.setValue(1e9);
    QCOMPARE(edit.value(), 64000.0);
}

void TestWidgets::twoStateButtonSignalsEveryChange() {
    TwoStateButton button(QStringLiteral("Merge"));
    QSignalSpy changed(&button, &TwoStateButton::valueChanged);

    QTest::mouseClick(&button, Qt::LeftButton);
    QVERIFY(button.value());
    button.setValue(false);
    button.setValue(false);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).first().toBool(), true);
    QCOMPARE(changed.at(1).first().toBool(), false);
}

void TestWidgets::keyHandlerSeesCodes_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<int>("expectedCode");
    QTest::addColumn<int>("newCode");
    QTest::addColumn<QString>("result");

    // A newCode of -1 leaves the code as the handler received it.
    QTest::newRow("digit passes") << "1" << Qt::Key_5 << 53 << -1 << "15";
    QTest::newRow("cancelled") << "1" << Qt::Key_A << 97 << 0 << "1";
    QTest::newRow("point to comma") << "1" << Qt::Key_Period << 46 << 44 << "1,";
    QTest::newRow("backspace passes") << "12" << Qt::Key_Backspace << 8 << -1 << "1";
    QTest::newRow("backspace cancelled") << "12" << Qt::Key_Backspace << 8 << 0 << "12";
    QTest::newRow("enter cancelled") << "12" << Qt::Key_Return << 13 << 0 << "12";
}

void TestWidgets::keyHandlerSeesCodes() {
    QFETCH(QString, start);
    QFETCH(Qt::Key, key);
    QFETCH(int, expectedCode);
    QFETCH(int, newCode);
    QFETCH(QString, result);

    QLineEdit box(start);
    QList<int> seen;
    onKeyPress(&box, [&](int& code) {
        seen.append(code);
        if (newCode >= 0)
            code = newCode;
    });
    QTest::keyClick(&box, key);
    QCOMPARE(seen, QList<int>{expectedCode});
    QCOMPARE(box.text(), result);
}

void TestWidgets::keyHandlerLeavesOtherKeys() {
    QLineEdit box(QStringLiteral("123"));
    int calls = 0;
    onKeyPress(&box, [&](int& code) {
        ++calls;
        code = 0;
    });
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Delete);
    QTest::keyClick(&box, 'a', Qt::ControlModifier);
    QCOMPARE(calls, 0);
    QCOMPARE(box.text(), QStringLiteral("13"));
    QCOMPARE(box.selectedText(), QStringLiteral("13"));
}

void TestWidgets::enterReachesTheBox() {
    QLineEdit box;
    QList<int> seen;
    onKeyPress(&box, [&](int& code) { seen.append(code); });
    QSignalSpy returned(&box, &QLineEdit::returnPressed);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(seen, (QList<int>{13, 13}));
    QCOMPARE(returned.count(), 2);
}

void TestWidgets::messageBoxOpensWithoutBlocking() {
    QWidget window;
    WindowDialogs dialogs(&window);
    dialogs.message(QStringLiteral("Warning!"), QStringLiteral("Port not found"),
                    MessageIcon::Warning, QStringLiteral("/dev/ttyUSB0"));

    auto* box = window.findChild<QMessageBox*>();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    QCOMPARE(box->windowTitle(), QStringLiteral("Warning!"));
    QCOMPARE(box->text(), QStringLiteral("Port not found"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->detailedText(), QStringLiteral("/dev/ttyUSB0"));

    const QPointer<QMessageBox> closing(box);
    box->button(QMessageBox::Ok)->click();
    QTRY_VERIFY(closing.isNull());
}

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
