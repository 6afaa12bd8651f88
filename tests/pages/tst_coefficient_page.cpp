// FnParametres3 on screen: the tables from the image, the clamp while
// typing, the write of 0x801..0x838, and the chain of the table pages.
#include "pages/battery_page.h"
#include "pages/coefficient_grid.h"
#include "pages/coefficient_page.h"
#include "pages/level_page.h"
#include "pages/ntc_page.h"
#include "shell/navigation.h"
#include "tst_coefficient_fixture.h"

#include <QPushButton>
#include <QTest>

class TestCoefficientPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init() { w = std::make_unique<TablesWindow>(); }
    void cleanup() { w.reset(); }
    void everyControlIsNamed();
    void putInTaBShowsTheImage();
    void typingBeyondTheTopIsClampedAndWritten();
    void enterWritesAndTheFilterDropsLetters();
    void clearedFieldStoresZero();
    void writeSendsTheBlockAsItStands();
    void chain_data();
    void chain();
    void menuReopensTheNtcPageAfterPreviousButtons();

  private:
    CoefficientPage *page() { return w->screens().FnParametres3; }
    std::unique_ptr<TablesWindow> w;
};

void TestCoefficientPage::everyControlIsNamed() {
    for (int n = 1; n <= 20; ++n) {
        QVERIFY(page()->findChild<NumericEdit *>(QStringLiteral("TxTbCP%1").arg(n)));
        QCOMPARE(page()->findChild<NumericEdit *>(QStringLiteral("TxTbCG%1").arg(n))->allowedKeys(),
                 keys::Whole);
    }
    QCOMPARE(page()->BoutonCentrale->text(), QStringLiteral("PC -->> Centrale"));
    QCOMPARE(page()->BoutonPC->text(), QStringLiteral("Centrale -->> PC"));
    QCOMPARE(page()->BtPagePreced->objectName(), QStringLiteral("BtPagePreced"));
    QCOMPARE(page()->BtPageSuivante->text(), QStringLiteral("  Page suivante >>"));
}

void TestCoefficientPage::putInTaBShowsTheImage() {
    w->image().set(0x810, 0x64);
    w->image().set(0x837, 0xFF);
    w->image().set(0x81A, 7);
    page()->PutInTaB();
    QCOMPARE(page()->TxTbCP(1)->text(), QStringLiteral("100"));
    QCOMPARE(page()->TxTbCP(11)->text(), QStringLiteral("7"));
    QCOMPARE(page()->TxTbCG(20)->text(), QStringLiteral("255"));
    QCOMPARE(page()->TxTbCG(1)->text(), QStringLiteral("0"));
}

void TestCoefficientPage::typingBeyondTheTopIsClampedAndWritten() {
    page()->showForm();
    NumericEdit *field = page()->TxTbCG(5);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("300"));
    QCOMPARE(field->text(), QStringLiteral("255"));
    page()->BoutonCentrale->click();
    QCOMPARE(int(w->image().at(0x828)), 0xFF);
    QCOMPARE(w->port->written, QByteArrayList{w->writeOf(frames::WriteMainParameters)});
}

void TestCoefficientPage::enterWritesAndTheFilterDropsLetters() {
    page()->showForm();
    NumericEdit *field = page()->TxTbCP(3);
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("4x2."));
    QCOMPARE(field->text(), QStringLiteral("42"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(field->text(), QStringLiteral("42"));
    QCOMPARE(int(w->image().at(0x812)), 42);
    QCOMPARE(w->port->written.size(), 1);
    QVERIFY(w->port->written.first().startsWith("@W80138"));
}

void TestCoefficientPage::clearedFieldStoresZero() {
    w->image().set(0x815, 90);
    page()->PutInTaB();
    page()->TxTbCP(6)->clear();
    page()->BoutonCentrale_Click();
    QCOMPARE(int(w->image().at(0x815)), 0);
    QCOMPARE(page()->TxTbCP(6)->text(), QStringLiteral("0")); // shows what was stored
}

// The main parameters' bytes go out as the image holds them, and no second
// block follows the answer.
void TestCoefficientPage::writeSendsTheBlockAsItStands() {
    for (int a = 0x801; a <= 0x838; ++a)
        w->image().set(a, static_cast<quint8>(a & 0xFF));
    page()->PutInTaB();
    page()->BoutonCentrale_Click();
    QCOMPARE(w->link->state.UploadStep, 0);
    QByteArray expected = "@W80138";
    for (int a = 0x801; a <= 0x838; ++a)
        expected += QByteArray::number(a & 0xFF, 16).rightJustified(2, '0').toUpper();
    QCOMPARE(w->port->written.first(), frames::sealed(expected) + '\r');
    w->acknowledge();
    QCOMPARE(w->port->written.size(), 1);
}

void TestCoefficientPage::chain_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("currentPage");
    QTest::addColumn<QByteArray>("pollFrame");
    QTest::addColumn<bool>("pollingBefore");
    QTest::addColumn<bool>("pollingAfter");
    const QByteArray earlier = "@R0003489\r";
    QTest::newRow("tables back") << "FnParametres3"
                                 << "BtPagePreced"
                                 << "FnParametres2" << 1 << QByteArray("@R000378C\r") << true
                                 << true;
    QTest::newRow("tables back, polling off")
        << "FnParametres3"
        << "BtPagePreced"
        << "FnParametres2" << 1 << QByteArray("@R000378C\r") << false << false;
    QTest::newRow("tables next") << "FnParametres3"
                                 << "BtPageSuivante"
                                 << "FnParametres5" << 4 << QByteArray("@R0371091\r") << false
                                 << true;
    QTest::newRow("ntc back") << "FnParametres4"
                              << "BtPagePreced"
                              << "FnParametres3" << 3 << earlier << true << false;
    QTest::newRow("ntc next") << "FnParametres4"
                              << "BtPageSuivante"
                              << "FnParametres5" << 4 << QByteArray("@R0371091\r") << false << true;
    QTest::newRow("battery back") << "FnParametres5"
                                  << "BtPagePreced"
                                  << "FnParametres3" << 3 << earlier << true << false;
}

void TestCoefficientPage::chain() {
    QFETCH(QString, from);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(int, currentPage);
    QFETCH(QByteArray, pollFrame);
    QFETCH(bool, pollingBefore);
    QFETCH(bool, pollingAfter);
    Screens &s = w->screens();
    Form *source = w->window->findChild<Form *>(from);
    QVERIFY(source);
    s.parameterPage(0)->showForm();
    source->showForm();
    w->link->state.PollFrame = "@R0003489\r";
    w->link->state.PollingOn = pollingBefore;
    s.FnMoniteur->Timer1.stop();

    source->findChild<QPushButton *>(button)->click();
    QCOMPARE(w->app().CurrentPage, currentPage);
    QCOMPARE(w->link->state.PollFrame, pollFrame);
    QCOMPARE(w->link->state.PollingOn, pollingAfter);
    QVERIFY(s.FnMoniteur->Timer1.isActive());
    for (int p = 0; p <= 4; ++p)
        QCOMPARE(s.parameterPage(p)->isShown(), s.parameterPage(p)->objectName() == shown);
    QVERIFY(w->port->written.isEmpty()); // turning a page sends nothing
}

// The two Previous buttons that lead back to the tables record 3: the
// menu's Parameters button then opens the NTC page.
void TestCoefficientPage::menuReopensTheNtcPageAfterPreviousButtons() {
    w->screens().FnParametres5->showForm();
    w->screens().FnParametres5->BtPagePreced->click();
    QVERIFY(page()->isShown());
    w->window->navigation().Parametres_Click();
    QVERIFY(w->screens().FnParametres4->isShown());
    QVERIFY(!page()->isShown());
}

QTEST_MAIN(TestCoefficientPage)
#include "tst_coefficient_page.moc"
