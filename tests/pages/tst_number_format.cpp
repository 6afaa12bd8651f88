// Reading, writing and converting the numbers of the numeric fields, and the
// field behaviour shared by every page.
#include "pages/number_format.h"
#include "pages/numeric_edit.h"

#include <QTest>

class TestNumberFormat : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("blanks") << "  12" << 12.0;
        QTest::newRow("negative") << "-0.5" << -0.5;
        QTest::newRow("leading point") << ".25" << 0.25;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("minus inside stops") << "5-3" << 5.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("garbage") << "abc" << 0.0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(number::parse(text), value);
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 100.0 << "100";
        QTest::newRow("negative") << -0.05 << "-0.05";
        QTest::newRow("noise above") << 0.1 + 0.2 << "0.3";
        QTest::newRow("noise below") << 100.0 / 150 * 75 << "50";
        QTest::newRow("hundredths") << 1021.0 / 100 << "10.21";
        QTest::newRow("minus zero") << -0.0 << "0";
    }
    void format() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(number::formatPoint(value), text);
    }

    void toByte_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("byte"); // -1: out of range
        QTest::addColumn<int>("clamped");
        QTest::newRow("2.5 to even") << 2.5 << 2 << 2;
        QTest::newRow("3.5 to even") << 3.5 << 4 << 4;
        QTest::newRow("0.29 x 100") << 0.29 * 100 << 29 << 29;
        QTest::newRow("255.4") << 255.4 << 255 << 255;
        QTest::newRow("255.5 overflows") << 255.5 << -1 << 255;
        QTest::newRow("-0.5 rounds to 0") << -0.5 << 0 << 0;
        QTest::newRow("-1") << -1.0 << -1 << 0;
    }
    void toByte() {
        QFETCH(double, value);
        QFETCH(int, byte);
        QFETCH(int, clamped);
        QCOMPARE(number::toByte(value).value_or(-1), byte);
        QCOMPARE(number::toByteClamped(value), clamped);
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("allowed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *name, const QString &allowed, const char *typed,
                            const char *text) { QTest::newRow(name) << allowed << typed << text; };
        row("letters dropped", keys::Whole, "1a2b", "12");
        row("no comma in a pressure", keys::SignedDecimal, "1,5", "15");
        row("sign and points anywhere", keys::SignedDecimal, "1-.-.", "1-.-.");
        row("no filter", QString(), "x1,y", "x1,y");
    }
    void keyFilter() {
        QFETCH(QString, allowed);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        NumericEdit field(QStringLiteral("Field"), allowed);
        QTest::keyClicks(&field, typed);
        QCOMPARE(field.text(), text);
        QTest::keyClick(&field, Qt::Key_Backspace);
        QCOMPARE(field.text(), text.chopped(1));
    }

    // A rewrite by the validation does not run the validation again.
    void validationRewriteRunsOnce() {
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
        QCOMPARE(passes, 1);
    }
};

QTEST_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
