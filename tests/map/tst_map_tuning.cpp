// Map tuning on the main window: band counts, the proposal and its "Apply",
// and pages that show the image when shown instead of writing stale values.
#include "files/restore_points.h"
#include "map/aqui_map_form.h"
#include "map/map_screen.h"
#include "map/proposal_table.h"
#include "pages/battery_page.h"
#include "pages/coefficient_page.h"
#include "pages/ntc_page.h"
#include "settings/battery_table.h"
#include "settings/ntc_table.h"
#include "support/window_bench.h"
#include "ui/captions.h"
#include "ui/edit_marks.h"
#include "ui/numeric_edit.h"
#include "ui/screens.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using Column = MapAcquisition::Column;

namespace {
// 0x828 is "Dep" entry 5; its two hex digits in a write of 0x801..0x838.
QByteArray entry5Of(const QByteArray &frame) {
    return frame.mid(7 + 2 * (0x828 - 0x801), 2);
}
} // namespace

class TestMapTuning : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() {
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        b = std::make_unique<WindowBench>();
        b->window.MDIForm1_Load();
        b->window.show();
        map = b->window.screens().mapScreen;
        aqui = b->window.screens().mapAcquisition;
        for (int a = 0x801; a <= 0x838; ++a)
            b->link.image.set(a, 100);
        QVERIFY(b->link.OpenPort());
    }
    void cleanup() { b.reset(); }

    // Band 5 trusted on both fuels; band 6 has two gas crossings: counts shown,
    // the thin one greyed and left blank, entry 5's proposal shown and written.
    // (The step's bound and which bands are trusted: tst_map_proposal.)
    void countsProposalAndApply() {
        map->showForm();
        for (int i = 0; i < 3; ++i) {
            record(5, Column::Petrol, 1000);
            record(5, Column::Gas, 1060); // +6 at trim 1.00
            record(6, Column::Petrol, 1000);
            if (i < 2)
                record(6, Column::Gas, 1200);
        }
        QCOMPARE(aqui->TxNbB(5)->text(), QStringLiteral("3"));
        QCOMPARE(aqui->TxNbG(6)->text(), QStringLiteral("2"));
        QVERIFY(aqui->TxNbG(6)->styleSheet().contains(QStringLiteral("gray")));
        QVERIFY(aqui->TxNbG(5)->styleSheet().isEmpty());
        ProposalTable *p = map->proposal();
        QCOMPARE(p->TxProposed(5)->text(), QStringLiteral("106"));
        QCOMPARE(p->TxDifference(5)->text(), QStringLiteral("+6"));
        QCOMPARE(p->TxProposed(6)->text(), QString()); // left alone
        QCOMPARE(p->TxCurrent(6)->text(), QStringLiteral("100"));

        // The fitter's edit is what "Apply" writes.
        p->TxProposed(5)->selectAll();
        QTest::keyClicks(p->TxProposed(5), QStringLiteral("108"));
        QCOMPARE(p->TxDifference(5)->text(), QStringLiteral("+8"));

        b->port.written.clear();
        QTest::mouseClick(p->BtApplyProposal, Qt::LeftButton);
        QCOMPARE(map->TxTbCG(5)->text(), QStringLiteral("108"));
        QCOMPARE(b->link.image.at(0x828), 108);
        QCOMPARE(b->link.image.at(0x829), 100);
        QCOMPARE(b->port.written.size(), 1);
        QVERIFY(b->port.written.at(0).startsWith("@W80138"));
        QCOMPARE(entry5Of(b->port.written.at(0)), QByteArray("6C"));
        QCOMPARE(RestorePoints().list().size(), 1);
        // The table applied, the next proposal starts from there.
        QCOMPARE(p->TxCurrent(5)->text(), QStringLiteral("108"));

        QTest::mouseClick(aqui->BtClearBands, Qt::LeftButton);
        QCOMPARE(aqui->TxTbmapB(5)->text(), QString());
        QCOMPARE(aqui->TxNbB(5)->text(), QString());
        QVERIFY(!p->BtApplyProposal->isEnabled());
    }

    // A map write, then the coefficient page's write: the map's value goes
    // out, not the one the page showed before.
    void noStaleWriteAfterMapWrite() {
        CoefficientPage *page = b->window.screens().coefficientPage;
        page->showForm();
        page->PutInTaB(); // the tables as read from the ECU
        QCOMPARE(page->TxTbCG(5)->text(), QStringLiteral("100"));
        page->hideForm();
        map->showForm();
        map->TxTbCG(5)->setText(QStringLiteral("140"));
        QTest::mouseClick(map->BoutonCentrale, Qt::LeftButton);
        map->hideForm();
        page->showForm();
        b->port.written.clear();
        QTest::mouseClick(page->BoutonCentrale, Qt::LeftButton);
        QCOMPARE(entry5Of(b->port.written.value(0)), QByteArray("8C"));
    }

    // Typing marks a field until the page shows the image again, or until
    // the ECU acknowledges its write; an unacknowledged write says so.
    void editMarks() {
        enum class Then { ShownAgain, Acknowledged, NoAnswer };
        const struct {
            Then then;
            bool marked;
            QString tip;
        } cases[] = {{Then::ShownAgain, false, QString()},
                     {Then::Acknowledged, false, QString()},
                     {Then::NoAnswer, true, captions::english(captions::RefusedTip)}};
        CoefficientPage *page = b->window.screens().coefficientPage;
        for (const auto &c : cases) {
            page->showForm();
            NumericEdit *field = page->TxTbCG(5);
            QVERIFY(!EditMarks::isMarked(field));
            field->selectAll();
            QTest::keyClicks(field, QStringLiteral("120"));
            QVERIFY(EditMarks::isMarked(field));
            QCOMPARE(field->toolTip(), captions::english(captions::EditedTip));
            QCOMPARE(field->palette().color(QPalette::Base), EditMarks::Colour);
            if (c.then == Then::ShownAgain) {
                page->hideForm();
                page->showForm();
                QCOMPARE(field->text(), QStringLiteral("100"));
            } else {
                QTest::mouseClick(page->BoutonCentrale, Qt::LeftButton);
                QTRY_COMPARE(field->toolTip(),
                             captions::english(captions::AwaitingTip)); // sent, not yet answered
                QVERIFY(EditMarks::isMarked(field));
                if (c.then == Then::Acknowledged)
                    b->port.feed("@A81\r");
                else
                    for (int tick = 0; tick < 4; ++tick)
                        b->link.WriteTimer_Timer();
            }
            QCOMPARE(EditMarks::isMarked(field), c.marked);
            QCOMPARE(field->toolTip(), c.tip);
            page->PutInTaB(); // the image shown again clears every mark
            QVERIFY(!EditMarks::isMarked(field));
            b->link.image.set(0x828, 100);
            page->hideForm();
        }
    }

    // The NTC and battery pages show the image's values when shown again;
    // a value typed on the battery page is marked until then.
    void tablePagesShowTheImage() {
        const Screens &s = b->window.screens();
        const struct {
            Form *page;
            QLineEdit *field;
            int base, entries;
            QString before, after; // shown for bytes 0x05 and 0xFB, signed
        } cases[] = {
            {s.ntcPage, s.ntcPage->TxTbEau.at(0), ntc::CoolantBase, ntc::Entries, "5", "-5"},
            {s.batteryPage, s.batteryPage->TxTBBat.at(0), battery::TableBase, battery::Entries, "5",
             "-5"},
        };
        for (const auto &c : cases) {
            fill(c.base, c.entries, 0x05);
            c.page->showForm();
            QCOMPARE(c.field->text(), c.before);
            if (!c.field->isReadOnly()) {
                c.field->selectAll();
                QTest::keyClicks(c.field, QStringLiteral("9"));
                QVERIFY(EditMarks::isMarked(c.field));
            }
            c.page->hideForm();
            fill(c.base, c.entries, 0xFB);
            c.page->showForm();
            QCOMPARE(c.field->text(), c.after);
            QVERIFY(!EditMarks::isMarked(c.field));
            c.page->hideForm();
        }
    }

  private:
    void fill(int base, int entries, quint8 byte) {
        for (int i = 0; i < entries; ++i)
            b->link.image.set(base + i, byte);
    }
    void record(int band, Column column, int value) {
        aqui->recordBand({band, column, value}, QDateTime::currentDateTime());
        aqui->DrawBandCurves();
    }

    QTemporaryDir data;
    std::unique_ptr<WindowBench> b;
    MapScreen *map = nullptr;
    AquiMapForm *aqui = nullptr;
};

QTEST_MAIN(TestMapTuning)
#include "tst_map_tuning.moc"
