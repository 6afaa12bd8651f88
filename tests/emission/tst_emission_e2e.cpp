// The emission schedule against the ECU simulator: initialise it, edit two
// cells, write it whole, forget it, and read it back from the ECU.
#include "emission/emission_screen.h"
#include "emission/schedule_codec.h"
#include "support/sim_session.h"
#include "ui/numeric_edit.h"

#include <QScrollBar>

using schedule::Column;

class TestEmissionEndToEnd : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void scheduleWrittenAndReadBack() {
        SimSession tool(11);
        QVERIFY(tool.readEcu());
        // Opening the screen reads the schedule before anything is edited.
        QSignalSpy opened(&tool.link, &Link::fullReadCompleted);
        tool.window->navigation().BtEmi_Click();
        EmissionScreen *emi = tool.screens().emissionScreen;
        QTRY_VERIFY_WITH_TIMEOUT(opened.count() == 1 && emi->isScheduleKnown(), ReadTimeoutMs);
        emi->Command1_Click();
        emi->HScroll2->setValue(schedule::LastScroll);
        emi->cell(Column::Time, 18)->setText(QStringLiteral("4321"));
        QTest::keyClick(emi->cell(Column::Time, 18), Qt::Key_Return);
        emi->cell(Column::Idle, 17)->setText(QStringLiteral("333"));
        QTest::keyClick(emi->cell(Column::Idle, 17), Qt::Key_Return);

        QSignalSpy uploads(&tool.link, &Link::uploadCompleted);
        emi->BoutonCentrale_Click();
        QTRY_VERIFY_WITH_TIMEOUT(uploads.count() == 1, WriteTimeoutMs);

        // Forget the schedule, then read it from the ECU.
        for (int a = schedule::FirstAddress; a <= schedule::LastAddress; ++a)
            tool.link.image.set(a, 0);
        QSignalSpy reads(&tool.link, &Link::fullReadCompleted);
        emi->BoutonPC_Click();
        QTRY_VERIFY2_WITH_TIMEOUT(reads.count() == 1, qPrintable(tool.dialogs.texts().join(u'|')),
                                  ReadTimeoutMs);
        QVERIFY2(tool.dialogs.shown.isEmpty(), qPrintable(tool.dialogs.texts().join(u'|')));

        // An initialised entry and the two edited ones, as the ECU holds them.
        const MemoryImage &image = tool.link.image;
        QCOMPARE(image.u16(0xA47), 25);
        QCOMPARE(image.u16(0xAA9), 4321);
        QCOMPARE(int(image.at(0xADB)), 166);
        QCOMPARE(emi->cell(Column::Time, 18)->text(), QStringLiteral("4321"));
        QCOMPARE(emi->cell(Column::Idle, 17)->text(), QStringLiteral("332"));
    }
};

QTEST_MAIN(TestEmissionEndToEnd)
#include "tst_emission_e2e.moc"
