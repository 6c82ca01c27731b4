#include "platform/dialogs.h"
#include "platform/keypress.h"
#include "platform/numedit.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using namespace vemra;

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void numEditShowsAndTakesNumberText_data() {
        QTest::addColumn<bool>("exponent");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("typed");
        QTest::newRow("decimal point typed") << false << "2,5" << 2.5 << "2.5";
        QTest::newRow("letters refused") << false << "25" << 25.0 << "2x5";
        QTest::newRow("lower bound") << false << "1E-06" << 1e-6 << "1E-06";
        QTest::newRow("exponent small") << true << "1,23e-3" << 0.00123 << "1,23e-3";
        QTest::newRow("exponent rounds up") << true << "1,00e4" << 9999.0 << "9999";
    }
    void numEditShowsAndTakesNumberText() {
        QFETCH(bool, exponent);
        QFETCH(double, value);
        QFETCH(QString, typed);
        NumEdit edit;
        edit.setExponentDisplay(exponent);
        QSignalSpy changed(&edit, &NumEdit::valueChanged);
        edit.setup(value, -100000, 100000, 1);
        QTEST(edit.text(), "shown");
        edit.setValue(0);
        edit.selectAll();
        QTest::keyClicks(&edit, typed);
        QCOMPARE(changed.count(), 1); // setup is silent and typing commits only on Enter
        QTest::keyClick(&edit, Qt::Key_Enter);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().first().toDouble(), value);
    }

    void keyHandlerLeavesEditingKeys() {
        QLineEdit box("123");
        onKeyPress(&box, [](int& code) { code = 0; });
        QTest::keyClick(&box, Qt::Key_Left);
        QTest::keyClick(&box, Qt::Key_Left);
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClick(&box, 'a', Qt::ControlModifier);
        QCOMPARE(box.selectedText(), QString("13"));
    }

    void messageBoxOpensWithoutBlocking() {
        QWidget window;
        WindowDialogs(&window).message("Warning!", "Port not found", MessageIcon::Warning,
                                       "/dev/ttyUSB0");
        auto* box = window.findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(QStringList({box->windowTitle(), box->text(), box->detailedText()}),
                 QStringList({"Warning!", "Port not found", "/dev/ttyUSB0"}));
        const QPointer<QMessageBox> closing(box);
        box->accept();
        QTRY_VERIFY(closing.isNull());
    }
};

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
