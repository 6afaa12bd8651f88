// The table pages: the coefficient tables, the NTC windows, the battery
// correction and its link, and the lambda block; their codings, the writes
// and what follows them.
#include "pages/battery_gauge.h"
#include "pages/tst_pages_fixture.h"
#include "presentation/refresh.h"
#include "settings/battery_table.h"
#include "settings/coefficient_codec.h"
#include "settings/ntc_table.h"
#include "transfer/transfer_form.h"

#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

using namespace lambda;

namespace {
QStringList withPoint(QStringList captions) {
    return captions.replaceInStrings(QStringLiteral(","), QStringLiteral(".")); // any locale
}
} // namespace

class TestTablesPages : public QObject {
    Q_OBJECT
    std::unique_ptr<PagesWindow> w;
    CoefficientPage &tables() { return *w->screens().coefficientPage; }
    NtcPage &ntcPage() { return *w->screens().ntcPage; }
    BatteryPage &batteryPage() { return *w->screens().batteryPage; }
    LambdaPage &lambdaPage() { return *w->screens().lambdaPage; }
    void setBattery(int i, int value) {
        w->image().set(battery::TableBase + i, static_cast<quint8>(value & 0xFF));
    }
    // The battery upload: entry 1, then 13, 14 and 15 as the image holds them.
    QByteArrayList batteryUpload() {
        const BlockTable &b = w->link.blocks;
        return {w->writeOf(b[1]), w->writeOf(b[13]), w->writeOf(b[14]), w->writeOf(b[15])};
    }
    // 512 and 41 counts, delays 20, 3 and 9, 1500 rpm, corrections FD 32 80 7F,
    // memorise on; shown on the page.
    void setLambdaBlock() {
        const int block[] = {0x02, 0x00, 0x00, 0x29, 20, 3, 9, 0x05, 0xDC, 0xFD, 50, 0x80, 0x7F, 1};
        for (int i = 0; i < BlockLength; ++i)
            w->image().set(BlockAddress + i, static_cast<quint8>(block[i]));
        lambdaPage().Affiche();
    }

  private Q_SLOTS:
    void init() { w = std::make_unique<PagesWindow>(); }
    void cleanup() { w.reset(); }

    void coefficientCoding_data() {
        columns<QString, int, QString>("text", "byte", "corrected"); // empty: stands as typed
        row("lower bound stays", "0", 0, "");
        row("upper bound stays", "255", 255, "");
        row("above", "300", 255, "255");
        row("below", "-1", 0, "0");
        row("half to even down", "12.5", 12, "");
        row("half to even up", "13.5", 14, "");
    }

    // Texts the validation has not seen are stored clamped.
    void coefficientCoding() {
        const auto [text, byte, corrected] =
            fetch<QString, int, QString>("text", "byte", "corrected");
        QStringList texts(CoefficientCodec::FieldCount, QStringLiteral("1"));
        texts[24] = text; // TxTbCG5
        MemoryImage image;
        CoefficientCodec::encode(texts, image);
        QCOMPARE(int(image.at(0x828)), byte);
        QCOMPARE(CoefficientCodec::corrected(text).value_or(QString()), corrected);
    }

    // Typing is filtered and held to a byte; Enter sends 0x801..0x838 as the
    // image holds them, the tables stored in between; no second block follows.
    void coefficientTypingAndWrite() {
        QByteArray data;
        for (int a = 0x801; a <= 0x838; ++a) {
            w->image().set(a, static_cast<quint8>(a & 0xFF));
            data += hex::byteHex(a == 0x828 ? 255 : a == 0x815 ? 0 : a & 0xFF); // typed below
        }
        tables().showForm();
        tables().PutInTaB();
        QCOMPARE(texts(tables().TxTbCP(1), tables().TxTbCG(20)), QStringList({"16", "55"}));
        NumericEdit *field = tables().TxTbCG(5);
        field->clear();
        QTest::keyClicks(field, QStringLiteral("3x0.0"));
        QCOMPARE(field->text(), QStringLiteral("255"));
        tables().TxTbCP(6)->clear(); // stored as 0, and shown so
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(tables().TxTbCP(6)->text(), QStringLiteral("0"));
        w->acknowledge(); // no second block
        QCOMPARE(w->port.written, QByteArrayList{frames::sealed("@W80138" + data) + '\r'});
    }

    void windows_data() {
        // Coolant entry i holds i, gas entry i holds 255 - i, battery entry i holds i - 33.
        columns<QString, int, QString, QString>("bar", "scroll", "slot", "shown"); // label, field
        row("coolant end", "HScroll1", 238, "IndexNE17 TxTbEau18", "256 -1");
        row("coolant 0x80 is -128", "HScroll1", 120, "IndexNE8 TxTbEau9", "129 -128");
        row("gas 0x7F is 127", "HScroll2", 120, "IndexGE8 TxTbGaz9", "129 127");
        row("battery start, last", "HS_index", 0, "TxID19 TxTBBat19", "19 -14");
        row("battery end", "HS_index", 47, "TxID0 TxTBBat0", "47 14");
    }

    // Each scroll bar moves its own window only.
    void windows() {
        const auto [bar, scroll, slot, shown] =
            fetch<QString, int, QString, QString>("bar", "scroll", "slot", "shown");
        const bool onNtc = bar != QLatin1String("HS_index");
        for (int i = 0; i < ntc::Entries; ++i) {
            w->image().set(ntc::CoolantBase + i, static_cast<quint8>(i));
            w->image().set(ntc::GasBase + i, static_cast<quint8>(255 - i));
        }
        for (int i = 0; !onNtc && i < battery::Entries; ++i)
            setBattery(i, i - 33);
        ntcPage().PutIndexNTCE();
        ntcPage().PutIndexNTCG();
        Form &page = onNtc ? static_cast<Form &>(ntcPage()) : batteryPage();
        child<QScrollBar>(page, bar)->setValue(scroll);
        batteryPage().HS_index_Change(); // a bar left at 0 tells no change
        const QStringList names = slot.split(u' ');
        QCOMPARE(child<QLabel>(page, names[0])->text() + u' ' +
                     child<QLineEdit>(page, names[1])->text(),
                 shown);
        if (onNtc) // the other window stays at its start
            QCOMPARE(child<QLabel>(page, bar.endsWith(u'1') ? "IndexGE0" : "IndexNE0")->text(),
                     QStringLiteral("1"));
    }

    // The live values always; the settings only while the poll is off.
    void batteryRefresh() {
        BatteryPage &p = batteryPage();
        using namespace battery;
        w->set({{LiveVoltage, 167}, {LivePointer, 12}, {ModeAddress, 2}, {BlockFlagAddress, 1}});
        setBattery(5, -10);
        RefreshScreens(w->app());
        QCOMPARE(withPoint(texts(p.TxVbat, p.TXpointeurTension, p.TxTensionBat, p.TxBloque,
                                 p.TxTBBat.at(5))),
                 QStringList({"167", "12", "12.525", "1", "-10"}));
        QCOMPARE(p.Picture1->barWidth(), 835);
        QVERIFY(p.Option1.at(2)->isChecked());
        w->image().set(ModeAddress, 7); // beyond the list: OFF
        RefreshScreens(w->app());
        QVERIFY(p.Option1.at(0)->isChecked());
        QCOMPARE(p.TxVbatType->text(), QStringLiteral("7"));

        p.TxTBBat.at(3)->setText(QStringLiteral("9"));
        w->image().set(LiveVoltage, 150);
        w->link.poll.start();
        RefreshScreens(w->app());
        QCOMPARE(texts(p.TxTBBat.at(3), p.TxVbat), QStringList({"9", "150"}));
        QVERIFY(w->port.written.isEmpty()); // a check set by the refresh writes nothing
    }

    void batteryEnter_data() {
        columns<QString, QString, int>("field", "text", "byte"); // -1: refused with a message
        row("entry 127", "TxTBBat2", "127", 127);
        row("entry -128", "TxTBBat2", "-128", 0x80);
        row("entry, half to even", "TxTBBat2", "-2.5", 0xFE);
        row("entry -129 refused", "TxTBBat2", "-129", -1);
        row("entry 127.5 rounds out", "TxTBBat2", "127.5", -1);
        row("mode % TI", "TxVbatType", "2", 2);
        row("mode 3 refused", "TxVbatType", "3", -1);
        row("mode -1 refused", "TxVbatType", "-1", -1);
    }

    // Enter stores an entry under the window's field, or the mode, and
    // uploads; the main page's upload stores the typed mode as a byte, even
    // one beyond the list (clamped to a byte).
    void batteryEnter() {
        const auto [field, text, byte] = fetch<QString, QString, int>("field", "text", "byte");
        const bool mode = field == QLatin1String("TxVbatType");
        const int address = mode ? battery::ModeAddress : battery::TableBase + 40 + 2;
        batteryPage().showForm();
        batteryPage().HS_index->setValue(40);
        NumericEdit *edit = child<NumericEdit>(batteryPage(), field);
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(int(w->image().at(address)), std::max(byte, 0)); // the image starts at 0
        QCOMPARE(w->dialogs.shown.size(), byte < 0 ? 1 : 0);
        QCOMPARE(w->port.written, byte < 0 ? QByteArrayList() : batteryUpload().mid(0, 1));
        if (!mode)
            return;
        MemoryImage image;
        image.set(address, 9);
        batteryPage().encodeInto(image);
        const QHash<QString, int> uploaded = {{"2", 2}, {"3", 3}, {"-1", 0}};
        QCOMPARE(int(image.at(address)), uploaded.value(text));
    }

    // A mode option stores its byte, and writes only while the page is shown:
    // entry 1, then 13 to 15 one per answer, the poll paused meanwhile.
    void batteryUploadChain() {
        batteryPage().Option1_Click(2);
        QCOMPARE(int(w->image().at(battery::ModeAddress)), 2);
        QVERIFY(w->port.written.isEmpty());
        batteryPage().showForm();
        w->link.poll.start();
        w->link.poll.startWatchdog();
        batteryPage().Option1.at(1)->click();
        QCOMPARE(int(w->image().at(battery::ModeAddress)), 1);
        QVERIFY(!w->link.poll.isOn() && !w->link.poll.watchdogActive());
        const QByteArrayList expected = batteryUpload();
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(w->port.written, expected.mid(0, k));
            w->acknowledge();
        }
        QCOMPARE(w->port.written.size(), 4);
        QVERIFY(w->link.poll.watchdogActive());
    }

    void batteryLink_data() {
        // `before` from entry `first`, the rest 0; `after` empty: refused with a message.
        columns<int, QList<int>, QString, QString, QList<int>>("first", "before", "start", "end",
                                                               "after");
        using L = QList<int>;
        const L rising = {0, 9, 9, 9, 9, 9, 9, 9, 9, 9, 10};
        const L line = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        row("ends exchanged", 10, rising, "20", "10", line);
        row("falling, rounded down", 0, L{10, 50, 50, 0}, "0", "3", L{10, 6, 3, 0});
        row("equal ends", 5, L{5, 1, 7}, "5", "5", L{5, 1, 7});
        row("whole table", 0, L{-128}, "0", "66", L{-128, -127, -125});
        row("start with a fraction", 10, L{0, 0, 0, 0, 0, 10}, "10.4", "15", L{-1, 1, 3, 5, 7, 9});
        row("fraction below the bottom is held", 10, L{-128, 0, 0, 0, 0, 127}, "10.4", "15",
            L{-128, -95, -40, 16, 71, 127});
        // 10/3 in single precision comes out a little short: the last point,
        // rounded down, lands one below its old value.
        row("single-precision slope", 0, L{0, 5, 5, 10}, "0", "3", L{0, 3, 6, 9});
        row("end beyond the table", 0, L{}, "60", "67", L{});
        row("start rounding to 67", 0, L{}, "66.6", "60", L{});
    }

    // Link draws a straight line in the image and redraws the window; it
    // sends nothing and never reaches beyond the table.
    void batteryLink() {
        const auto [first, before, start, end, after] =
            fetch<int, QList<int>, QString, QString, QList<int>>("first", "before", "start", "end",
                                                                 "after");
        for (int i = 0; i < battery::Entries; ++i)
            setBattery(i, i >= first && i < first + before.size() ? before[i - first] : 0);
        w->image().set(battery::BlockFlagAddress, 1);
        const MemoryImage old = w->image();
        batteryPage().HS_index->setValue(first);
        batteryPage().CalculDebut->setText(start);
        batteryPage().CalculFin->setText(end);
        batteryPage().CalculeTab->click();
        QVERIFY(w->port.written.isEmpty());
        QCOMPARE(w->dialogs.shown.size(), after.isEmpty() ? 1 : 0);
        if (after.isEmpty())
            QVERIFY(w->image().bytes() == old.bytes());
        for (int i = 0; i < after.size(); ++i) {
            QCOMPARE(battery::entry(w->image(), first + i), after[i]);
            QCOMPARE(batteryPage().TxTBBat.at(static_cast<std::size_t>(i))->text(),
                     QString::number(after[i]));
        }
        QCOMPARE(int(w->image().at(battery::BlockFlagAddress)), 1);
        QCOMPARE(int(w->image().at(battery::ModeAddress)), 0);
    }

    void lambdaRefusal_data() {
        columns<Field, QString, bool, int, int>("field", "text", "negative", "min", "max");
        row("byte above", DelayRich, "256", false, 0, 255);
        row("byte not a number", DelayPauvre, "12a", false, 0, 255);
        row("byte empty", DelayPauvre, "", false, 0, 255);
        row("voltage rounds above", VVlambdaPauvre, "1023.5", false, 0, 1023);
        row("rpm above", RpmAct, "40000", false, 0, 32767);
        row("unsigned correction negative", RaCoRich, "-3", false, 0, 255);
        row("signed correction above", ChCoPauvre, "128", true, -128, 127);
    }

    // One field that cannot be stored is named with its range; the block,
    // valid fields before it included, stays as it was and nothing is sent.
    void lambdaRefusal() {
        const auto [field, text, negative, min, max] =
            fetch<Field, QString, bool, int, int>("field", "text", "negative", "min", "max");
        lambdaPage().DeltaNegatif->setChecked(negative);
        setLambdaBlock();
        const MemoryImage before = w->image();
        lambdaPage().field(VVlambdaRich)->setText(QStringLiteral("700"));
        lambdaPage().field(field)->setText(text);
        lambdaPage().BoutonCentrale_Click();
        QVERIFY(w->image().bytes() == before.bytes());
        QVERIFY(w->port.written.isEmpty());
        QCOMPARE(w->dialogs.texts(), QStringList{refusalText({field, min, max})});
    }

    // The block as shown, negative deltas as signed bytes; the write sends it,
    // the answer 0xA41..0xA46, and nothing follows.
    void lambdaShowAndWrite() {
        setLambdaBlock();
        LambdaPage &p = lambdaPage();
        QCOMPARE(withPoint(texts(p.field(RaCoPauvre), p.TXTR01, p.TXTR02, p.TXTMEMORISE)),
                 QStringList({"253", " ( 2.5 V )", " ( 1 s )", " ( ON ) "}));
        p.DeltaNegatif->click();
        QCOMPARE(withPoint(texts(p.field(RaCoPauvre), p.field(ChCoPauvre), p.TXTP03)),
                 QStringList({"-3", "-128", " ( -0.06 ms )"}));
        typeInto({{p.field(VVlambdaPauvre), "143"}, {p.field(Memorise), "x"}}); // 0.698 V, cut
        QCOMPARE(withPoint(texts(p.TXTP01, p.TXTMEMORISE)),
                 QStringList({" ( 0.69 V )", " ( OFF ) "}));
        typeInto({{p.field(VVlambdaPauvre), "41"},
                  {p.field(Memorise), "1"},
                  {p.field(VVlambdaRich), "700"},
                  {p.field(RpmAct), "3000"},
                  {p.field(RaCoRich), "-20"}});
        p.BoutonCentrale->click();
        QCOMPARE(w->port.written,
                 QByteArrayList{frames::sealed("@W8820E02BC00291403090BB8FDEC807F01") + '\r'});
        w->acknowledge();
        QCOMPARE(w->port.written.value(1), w->writeOf(frames::WriteA41Block));
        w->acknowledge();
        QCOMPARE(w->port.written.size(), 2);
    }
};

QTEST_MAIN(TestTablesPages)
#include "tst_tables_pages.moc"
