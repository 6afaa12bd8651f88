// Reading, writing and converting the numbers of the numeric fields, and the
// field behaviour shared by every page.
#include "pages/data_table.h"
#include "settings/number_format.h"
#include "ui/numeric_edit.h"

class TestNumberFormat : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void parse_data() {
        columns<QString, double>("text", "value");
        row("blanks", "  12", 12.0);
        row("negative", "-0.5", -0.5);
        row("leading point", ".25", 0.25);
        row("comma stops", "1,5", 1.0);
        row("second point stops", "1.2.3", 1.2);
        row("sign only", "-", 0.0);
    }
    void parse() {
        const auto [text, value] = fetch<QString, double>("text", "value");
        QCOMPARE(number::parse(text), value);
    }

    void format_data() {
        columns<double, QString>("value", "text");
        row("noise above", 0.1 + 0.2, "0.3");
        row("noise below", 100.0 / 150 * 75, "50");
        row("hundredths", 1021.0 / 100, "10.21");
        row("minus zero", -0.0, "0");
    }
    void format() {
        const auto [value, text] = fetch<double, QString>("value", "text");
        QCOMPARE(number::formatPoint(value), text);
    }

    void toByte_data() {
        columns<double, int, int>("value", "byte", "clamped"); // byte -1: out of range
        row("2.5 to even", 2.5, 2, 2);
        row("3.5 to even", 3.5, 4, 4);
        row("0.29 x 100", 0.29 * 100, 29, 29);
        row("255.4", 255.4, 255, 255);
        row("255.5 overflows", 255.5, -1, 255);
        row("-0.5 rounds to 0", -0.5, 0, 0);
        row("-1", -1.0, -1, 0);
    }
    void toByte() {
        const auto [value, byte, clamped] = fetch<double, int, int>("value", "byte", "clamped");
        QCOMPARE(number::toByte(value).value_or(-1), byte);
        QCOMPARE(number::toByteClamped(value), clamped);
    }

    void keyFilter_data() {
        columns<QString, QString, QString>("allowed", "typed", "text");
        row("no comma in a pressure", keys::SignedDecimal, "1,5", "15");
        row("sign and points anywhere", keys::SignedDecimal, "1-.-.", "1-.-.");
        row("no filter", QString(), "x1,y", "x1,y");
    }
    void keyFilter() {
        const auto [allowed, typed, text] =
            fetch<QString, QString, QString>("allowed", "typed", "text");
        NumericEdit field(QStringLiteral("Field"), allowed);
        QTest::keyClicks(&field, typed);
        QCOMPARE(field.text(), text);
    }
};

QTEST_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
