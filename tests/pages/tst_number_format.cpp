// Reading, writing and converting the numbers of the numeric fields, and the
// field behaviour shared by every page.
#include "pages/number_format.h"
#include "pages/numeric_edit.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TestNumberFormat : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parse_data();
    void parse();
    void format_data();
    void format();
    void toByte_data();
    void toByte();
    void keyFilter_data();
    void keyFilter();
    void enterRunsTheWriteButtonAndInsertsNothing();
    void validationRewriteRunsOnce();
    void stepButtonsClampThroughTheValidation();
};

void TestNumberFormat::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "35" << 35.0;
    QTest::newRow("blanks") << "  12" << 12.0;
    QTest::newRow("negative") << "-0.5" << -0.5;
    QTest::newRow("leading point") << ".25" << 0.25;
    QTest::newRow("comma stops") << "1,5" << 1.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("letters stop") << "12abc" << 12.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("garbage") << "abc" << 0.0;
    QTest::newRow("minus inside") << "5-3" << 5.0;
}

void TestNumberFormat::parse() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(number::parse(text), value);
}

void TestNumberFormat::format_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100.0 << "100";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("negative") << -0.05 << "-0.05";
    QTest::newRow("sum noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("hundredths") << 1021.0 / 100 << "10.21";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("minus zero") << -0.0 << "0";
    QTest::newRow("level") << 100.0 / 150 * 75 << "50";
}

void TestNumberFormat::format() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(number::formatPoint(value), text);
}

void TestNumberFormat::toByte_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("byte"); // -1: out of range
    QTest::addColumn<int>("clamped");
    QTest::newRow("2.5 to even") << 2.5 << 2 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4 << 4;
    QTest::newRow("0.29 x 100") << 0.29 * 100 << 29 << 29;
    QTest::newRow("5.1 x 100 / 2") << 5.1 * 100 / 2 << 255 << 255;
    QTest::newRow("255.4") << 255.4 << 255 << 255;
    QTest::newRow("255.5 overflows") << 255.5 << -1 << 255;
    QTest::newRow("-0.5 rounds to 0") << -0.5 << 0 << 0;
    QTest::newRow("-1") << -1.0 << -1 << 0;
    QTest::newRow("1000") << 1000.0 << -1 << 255;
}

void TestNumberFormat::toByte() {
    QFETCH(double, value);
    QFETCH(int, byte);
    QFETCH(int, clamped);
    QCOMPARE(number::toByte(value).value_or(-1), byte);
    QCOMPARE(number::toByteClamped(value), clamped);
}

void TestNumberFormat::keyFilter_data() {
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::newRow("letters dropped") << keys::Whole << "1a2b"
                                     << "12";
    QTest::newRow("no comma in a pressure") << keys::SignedDecimal << "1,5"
                                            << "15";
    QTest::newRow("sign and points anywhere") << keys::SignedDecimal << "1-.-."
                                              << "1-.-.";
    QTest::newRow("no filter") << QString() << "x1,y"
                               << "x1,y";
}

void TestNumberFormat::keyFilter() {
    QFETCH(QString, allowed);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    NumericEdit field(QStringLiteral("Field"), allowed);
    QTest::keyClicks(&field, typed);
    QCOMPARE(field.text(), text);
    QTest::keyClick(&field, Qt::Key_Backspace);
    QCOMPARE(field.text(), text.chopped(1));
}

void TestNumberFormat::enterRunsTheWriteButtonAndInsertsNothing() {
    QWidget page;
    auto *field = new NumericEdit(QStringLiteral("TemperatureText"), keys::Whole, &page);
    auto *write = new QPushButton(QStringLiteral("write"), &page);
    field->setEnterButton(write);
    QSignalSpy clicked(write, &QPushButton::clicked);
    field->setText(QStringLiteral("35"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(field->text(), QStringLiteral("35"));
}

void TestNumberFormat::validationRewriteRunsOnce() {
    NumericEdit field(QStringLiteral("DelaySupText"), keys::Whole);
    int passes = 0;
    ValidationGuard validate([&] {
        ++passes;
        if (field.value() > 1000)
            field.setText(QStringLiteral("1000"));
    });
    field.setChangeHook([&] { validate(); });
    field.setText(QStringLiteral("1005"));
    QCOMPARE(field.text(), QStringLiteral("1000"));
    QCOMPARE(passes, 1); // the rewrite's own change hook was absorbed
}

void TestNumberFormat::stepButtonsClampThroughTheValidation() {
    NumericEdit field(QStringLiteral("DelaySupText"), keys::Whole);
    int writes = 0;
    ValidationGuard validate(
        [&] { field.setTextIfChanged(number::format(qBound(0.0, field.value(), 1000.0))); });
    field.setChangeHook([&] { validate(); });
    const StepButtons steps{&field, 5, false, [&] { validate(); }, [&] { ++writes; }};
    field.setText(QStringLiteral("995"));
    steps.press(+1);
    QCOMPARE(field.text(), QStringLiteral("1000"));
    steps.press(+1);
    QCOMPARE(field.text(), QStringLiteral("1000"));
    field.setText(QStringLiteral("0"));
    steps.press(-1);
    QCOMPARE(field.text(), QStringLiteral("0"));
    QCOMPARE(writes, 3);
}

QTEST_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
