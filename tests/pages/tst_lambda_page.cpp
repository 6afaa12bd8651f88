// FnParametres6 on screen: decode with and without negative deltas, the
// unit captions, the write of 0x882 then 0xA41, refusals, and the menu.
#include "pages/lambda_page.h"
#include "pages/numeric_edit.h"
#include "shell/navigation.h"
#include "tst_coefficient_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace lambda;

class TestLambdaPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() { w.reset(); }
    void everyControlIsNamed();
    void afficheShowsTheBlock();
    void deltaNegatifRereadsTheCorrections();
    void typingUpdatesTheUnits();
    void writeSendsTheBlockThenA41();
    void signedCorrectionIsWritten();
    void refusedFieldWritesNothing();
    void menuOpensThePageWithPollingOff();

  private:
    LambdaPage *page() { return w->screens().FnParametres6; }
    std::unique_ptr<TablesWindow> w;
};

void TestLambdaPage::init() {
    w = std::make_unique<TablesWindow>();
    const int block[] = {0x02, 0x00, 0x00, 0x29, 20, 3, 9, 0x05, 0xDC, 0xFD, 50, 0x80, 0x7F, 1};
    for (int i = 0; i < 14; ++i)
        w->image().set(0x882 + i, static_cast<quint8>(block[i]));
}

void TestLambdaPage::everyControlIsNamed() {
    for (int i = 0; i < FieldCount; ++i)
        QVERIFY(page()->findChild<NumericEdit *>(QString::fromLatin1(info(Field(i)).name)));
    for (const char *name : {"TXTR01", "TXTR02", "TXTR03", "TXTR04", "TXTP01", "TXTP02", "TXTP03",
                             "TXTP04", "TXTMEMORISE"})
        QVERIFY2(page()->findChild<QLabel *>(QString::fromLatin1(name)), name);
    QCOMPARE(page()->DeltaNegatif->text(), QStringLiteral("Delta négatif"));
    QVERIFY(page()->field(DelayRich)->allowedKeys().isEmpty()); // no key filter
}

void TestLambdaPage::afficheShowsTheBlock() {
    page()->Affiche();
    QCOMPARE(page()->field(VVlambdaRich)->text(), QStringLiteral("512"));
    QCOMPARE(page()->field(VVlambdaPauvre)->text(), QStringLiteral("41"));
    QCOMPARE(page()->field(DelayRich)->text(), QStringLiteral("20"));
    QCOMPARE(page()->field(DelayPauvre)->text(), QStringLiteral("3"));
    QCOMPARE(page()->field(DelayRepet)->text(), QStringLiteral("9"));
    QCOMPARE(page()->field(RpmAct)->text(), QStringLiteral("1500"));
    QCOMPARE(page()->field(RaCoPauvre)->text(), QStringLiteral("253"));
    QCOMPARE(page()->field(RaCoRich)->text(), QStringLiteral("50"));
    QCOMPARE(page()->field(ChCoPauvre)->text(), QStringLiteral("128"));
    QCOMPARE(page()->field(ChCoRich)->text(), QStringLiteral("127"));
    QCOMPARE(page()->field(Memorise)->text(), QStringLiteral("1"));
    QCOMPARE(page()->TXTR01->text().replace(',', '.'), QStringLiteral(" ( 2.5 V )"));
    QCOMPARE(page()->TXTR02->text(), QStringLiteral(" ( 1 s )"));
    QCOMPARE(page()->TXTR03->text(), QStringLiteral(" ( 1 ms )"));
    QCOMPARE(page()->TXTMEMORISE->text(), QStringLiteral(" ( ON ) "));
}

void TestLambdaPage::deltaNegatifRereadsTheCorrections() {
    page()->Affiche();
    page()->DeltaNegatif->click();
    QCOMPARE(page()->field(RaCoPauvre)->text(), QStringLiteral("-3"));
    QCOMPARE(page()->field(ChCoPauvre)->text(), QStringLiteral("-128"));
    QCOMPARE(page()->field(ChCoRich)->text(), QStringLiteral("127"));
    QCOMPARE(page()->TXTP03->text().replace(',', '.'), QStringLiteral(" ( -0.06 ms )"));
    page()->DeltaNegatif->click();
    QCOMPARE(page()->field(RaCoPauvre)->text(), QStringLiteral("253"));
    QVERIFY(w->port->written.isEmpty()); // the box writes nothing
}

void TestLambdaPage::typingUpdatesTheUnits() {
    page()->showForm();
    page()->Affiche();
    NumericEdit *field = page()->field(VVlambdaPauvre);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("1023"));
    QCOMPARE(page()->TXTP01->text().replace(',', '.'), QStringLiteral(" ( 4.99 V )"));
    page()->field(Memorise)->setText(QStringLiteral("0"));
    QCOMPARE(page()->TXTMEMORISE->text(), QStringLiteral(" ( OFF ) "));
}

void TestLambdaPage::writeSendsTheBlockThenA41() {
    page()->Affiche();
    page()->field(RpmAct)->setText(QStringLiteral("3000"));
    page()->field(VVlambdaRich)->setText(QStringLiteral("700"));
    page()->BoutonCentrale->click();
    QCOMPARE(int(w->image().at(0x889)), 0x0B);
    QCOMPARE(int(w->image().at(0x88A)), 0xB8);
    QCOMPARE(int(w->image().at(0x882)), 2);
    QCOMPARE(int(w->image().at(0x883)), 188);
    QCOMPARE(w->port->written, QByteArrayList{w->writeOf(frames::WriteLambda)});
    QVERIFY(w->port->written.first().startsWith("@W8820E02BC0029140309"));
    QCOMPARE(w->link->state.UploadStep, 1);
    w->acknowledge();
    QCOMPARE(w->port->written.size(), 2);
    QCOMPARE(w->port->written.last(), w->writeOf(frames::WriteA41Block));
    QCOMPARE(w->link->state.UploadStep, 0);
    w->acknowledge();
    QCOMPARE(w->port->written.size(), 2);
}

void TestLambdaPage::signedCorrectionIsWritten() {
    page()->DeltaNegatif->setChecked(true);
    page()->Affiche();
    page()->field(RaCoPauvre)->setText(QStringLiteral("-3"));
    page()->field(RaCoRich)->setText(QStringLiteral("-20"));
    page()->BoutonCentrale_Click();
    QCOMPARE(int(w->image().at(0x88B)), 0xFD);
    QCOMPARE(int(w->image().at(0x88C)), 0xEC);
    QCOMPARE(w->port->written.size(), 1);
}

void TestLambdaPage::refusedFieldWritesNothing() {
    page()->Affiche();
    const MemoryImage before = w->image();
    page()->field(DelayRich)->setText(QStringLiteral("300"));
    page()->field(RpmAct)->setText(QStringLiteral("1000")); // valid, yet not stored alone
    page()->BoutonCentrale_Click();
    QVERIFY(w->image().bytes() == before.bytes());
    QVERIFY(w->port->written.isEmpty());
    QCOMPARE(w->link->state.UploadStep, 0);
    QCOMPARE(w->dialogs.shown.size(), 1);
    QVERIFY(w->dialogs.shown.first().text.contains(QStringLiteral("0 to 255")));
}

void TestLambdaPage::menuOpensThePageWithPollingOff() {
    w->link->state.PollingOn = true;
    w->screens().FnMoniteur->Timer1.start();
    w->window->navigation().BtEmission_Click();
    QVERIFY(page()->isShown());
    QVERIFY(!w->link->state.PollingOn);
    QVERIFY(!w->screens().FnMoniteur->Timer1.isActive());
    QCOMPARE(page()->field(RpmAct)->text(), QStringLiteral("1500"));
}

QTEST_MAIN(TestLambdaPage)
#include "tst_lambda_page.moc"
