// FnParametres5 on screen: the window at both ends, the refresh around the
// live poll, entry and mode input, the link button and the upload chain.
#include "pages/battery_gauge.h"
#include "pages/battery_page.h"
#include "pages/battery_table.h"
#include "pages/numeric_edit.h"
#include "presentation/refresh.h"
#include "shell/shape.h"
#include "transfer/transfer_form.h"
#include "tst_coefficient_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class TestBatteryPage : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void init();
    void cleanup() { w.reset(); }
    void everyControlIsNamed();
    void window_data();
    void window();
    void refreshShowsLiveValuesAndSettings();
    void refreshLeavesSettingsAloneWhilePolling();
    void refreshWritesOnlyChangedProperties();
    void enteredCorrectionIsStoredAndUploaded();
    void correctionOutsideTheByteIsRefused_data();
    void correctionOutsideTheByteIsRefused();
    void modeEnter_data();
    void modeEnter();
    void optionWritesOnlyWhenShown();
    void linkRedrawsTheWindow();
    void linkOutsideTheTableIsRefused();
    void encodeIntoStoresAValidMode();
    void readButtonStopsThePollAndReads();

  private:
    BatteryPage *page() { return w->screens().FnParametres5; }
    QByteArrayList uploadFrames(); // entry 1, 13, 14, 15 as the image holds them
    std::unique_ptr<TablesWindow> w;
};

void TestBatteryPage::init() {
    w = std::make_unique<TablesWindow>();
    for (int i = 0; i < battery::Entries; ++i) // entry i holds i - 33
        w->image().set(battery::TableBase + i, static_cast<quint8>((i - 33) & 0xFF));
}

QByteArrayList TestBatteryPage::uploadFrames() {
    const BlockTable &b = w->link->blocks;
    return {w->writeOf(b[1]), w->writeOf(b[13]), w->writeOf(b[14]), w->writeOf(b[15])};
}

void TestBatteryPage::everyControlIsNamed() {
    for (int j = 0; j < 20; ++j) {
        QVERIFY(page()->findChild<QLabel *>(QStringLiteral("TxID%1").arg(j)));
        QVERIFY(page()->findChild<NumericEdit *>(QStringLiteral("TxTBBat%1").arg(j)));
    }
    const QStringList captions = {"OFF", "ADD ( x2 )", "% TI"};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(page()->findChild<QRadioButton *>(QStringLiteral("Option1%1").arg(i))->text(),
                 captions[i]);
    QCOMPARE(page()->HS_index->maximum(), 47);
    QCOMPARE(page()->HS_index->minimum(), 0);
    QCOMPARE(page()->CalculeTab->text(), QStringLiteral("Link"));
    QCOMPARE(page()->TxTBBat.at(0)->allowedKeys(), keys::SignedDecimal);
    QCOMPARE(page()->TxVbatType->allowedKeys(), keys::SignedDecimal);
    for (const char *name : {"TxVbat", "TXpointeurTension", "TxTensionBat", "TxBloque", "Text1",
                             "Text2", "Text3", "CalculDebut", "CalculFin"})
        QVERIFY2(page()->findChild<QLineEdit *>(QString::fromLatin1(name)), name);
    QVERIFY(page()->findChild<Shape *>(QStringLiteral("BarVolt")));
}

void TestBatteryPage::window_data() {
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("j");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("value");
    QTest::newRow("start, first") << 0 << 0 << "0"
                                  << "-33";
    QTest::newRow("start, last") << 0 << 19 << "19"
                                 << "-14";
    QTest::newRow("end, first") << 47 << 0 << "47"
                                << "14";
    QTest::newRow("end, last") << 47 << 19 << "66"
                               << "33";
}

void TestBatteryPage::window() {
    QFETCH(int, scroll);
    QFETCH(int, j);
    QFETCH(QString, id);
    QFETCH(QString, value);
    page()->HS_index->setValue(scroll);
    page()->HS_index_Change();
    QCOMPARE(page()->TxID.at(static_cast<std::size_t>(j))->text(), id);
    QCOMPARE(page()->TxTBBat.at(static_cast<std::size_t>(j))->text(), value);
}

void TestBatteryPage::refreshShowsLiveValuesAndSettings() {
    w->image().set(0x037, 167);
    w->image().set(0x038, 12);
    w->image().set(battery::ModeAddress, 2);
    w->image().set(battery::BlockFlagAddress, 1);
    w->image().set(battery::TableBase + 5, 0xF6);
    w->link->state.PollingOn = false;
    RefreshScreens(w->app());
    QCOMPARE(page()->TxVbat->text(), QStringLiteral("167"));
    QCOMPARE(page()->TXpointeurTension->text(), QStringLiteral("12"));
    QCOMPARE(page()->TxTensionBat->text().replace(',', '.'), QStringLiteral("12.525"));
    QCOMPARE(page()->Picture1->barWidth(), 167 * 75 / 15);
    QCOMPARE(page()->TxBloque->text(), QStringLiteral("1"));
    QCOMPARE(page()->TxVbatType->text(), QStringLiteral("2"));
    QVERIFY(page()->Option1.at(2)->isChecked());
    QCOMPARE(page()->TxTBBat.at(5)->text(), QStringLiteral("-10"));

    w->image().set(battery::ModeAddress, 7); // beyond the list: OFF is checked
    RefreshScreens(w->app());
    QVERIFY(page()->Option1.at(0)->isChecked());
    QCOMPARE(page()->TxVbatType->text(), QStringLiteral("7"));
    QVERIFY(w->port->written.isEmpty()); // a check set by the refresh writes nothing
}

void TestBatteryPage::refreshLeavesSettingsAloneWhilePolling() {
    w->link->state.PollingOn = false;
    RefreshScreens(w->app());
    page()->TxTBBat.at(3)->setText(QStringLiteral("9"));
    page()->TxVbatType->setText(QStringLiteral("1"));
    w->image().set(battery::ModeAddress, 2);
    w->image().set(0x037, 150);
    w->link->state.PollingOn = true;
    RefreshScreens(w->app());
    QCOMPARE(page()->TxTBBat.at(3)->text(), QStringLiteral("9"));
    QCOMPARE(page()->TxVbatType->text(), QStringLiteral("1"));
    QCOMPARE(page()->TxVbat->text(), QStringLiteral("150")); // live values always
}

void TestBatteryPage::refreshWritesOnlyChangedProperties() {
    w->link->state.PollingOn = false;
    RefreshScreens(w->app());
    QSignalSpy entry(page()->TxTBBat.at(0), &QLineEdit::textChanged);
    QSignalSpy volts(page()->TxTensionBat, &QLineEdit::textChanged);
    QSignalSpy mode(page()->Option1.at(0), &QRadioButton::toggled);
    for (int pass = 0; pass < 3; ++pass)
        RefreshScreens(w->app());
    QCOMPARE(entry.count(), 0);
    QCOMPARE(volts.count(), 0);
    QCOMPARE(mode.count(), 0);
}

void TestBatteryPage::enteredCorrectionIsStoredAndUploaded() {
    page()->showForm();
    w->link->state.PollingOn = true;
    w->screens().FnMoniteur->Timer1.start();
    page()->HS_index->setValue(40);
    NumericEdit *field = page()->TxTBBat.at(2);
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, QStringLiteral("-1a0"));
    QCOMPARE(field->text(), QStringLiteral("-10"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(int(w->image().at(battery::TableBase + 42)), 0xF6);
    QVERIFY(!w->link->state.PollingOn);
    QVERIFY(!w->screens().FnMoniteur->Timer1.isActive());
    QVERIFY(w->screens().FnUPLoad->isShown());
    QCOMPARE(w->link->state.UploadIndex, 13);
    QCOMPARE(w->link->state.UploadStep, 2);
    QVERIFY(w->link->state.MonitorResume);

    const QByteArrayList expected = uploadFrames();
    QCOMPARE(w->port->written, QByteArrayList{expected[0]});
    for (int k = 1; k < 4; ++k) {
        w->acknowledge();
        QCOMPARE(w->port->written, expected.mid(0, k + 1));
    }
    w->acknowledge(); // the answer to entry 15 ends the upload
    QCOMPARE(w->port->written.size(), 4);
    QCOMPARE(w->link->state.UploadStep, 0);
    QVERIFY(!w->screens().FnUPLoad->isShown());
    QVERIFY(w->screens().FnMoniteur->Timer1.isActive());
    QVERIFY(w->dialogs.shown.isEmpty());
}

void TestBatteryPage::correctionOutsideTheByteIsRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("128") << "128";
    QTest::newRow("-129") << "-129";
    QTest::newRow("300") << "300";
}

void TestBatteryPage::correctionOutsideTheByteIsRefused() {
    QFETCH(QString, text);
    page()->showForm();
    const MemoryImage before = w->image();
    page()->TxTBBat.at(0)->setText(text);
    QTest::keyClick(page()->TxTBBat.at(0), Qt::Key_Return);
    QVERIFY(w->image().bytes() == before.bytes());
    QVERIFY(w->port->written.isEmpty());
    QCOMPARE(w->dialogs.shown.size(), 1);
    QCOMPARE(w->dialogs.shown.first().icon, Dialogs::Icon::Warning);
}

void TestBatteryPage::modeEnter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored"); // -1: refused
    QTest::newRow("ADD") << "1" << 1;
    QTest::newRow("% TI") << "2" << 2;
    QTest::newRow("3 refused") << "3" << -1;
    QTest::newRow("-1 refused") << "-1" << -1;
}

void TestBatteryPage::modeEnter() {
    QFETCH(QString, text);
    QFETCH(int, stored);
    page()->showForm();
    w->image().set(battery::ModeAddress, 0);
    page()->TxVbatType->setText(text);
    QTest::keyClick(page()->TxVbatType, Qt::Key_Return);
    if (stored < 0) {
        QCOMPARE(int(w->image().at(battery::ModeAddress)), 0);
        QVERIFY(w->port->written.isEmpty());
        QCOMPARE(w->dialogs.shown.size(), 1);
        return;
    }
    QCOMPARE(int(w->image().at(battery::ModeAddress)), stored);
    QVERIFY(page()->Option1.at(static_cast<std::size_t>(stored))->isChecked());
    QCOMPARE(w->port->written, QByteArrayList{uploadFrames().first()});
}

void TestBatteryPage::optionWritesOnlyWhenShown() {
    page()->Option1_Click(2);
    QCOMPARE(int(w->image().at(battery::ModeAddress)), 2);
    QVERIFY(w->port->written.isEmpty());
    page()->showForm();
    page()->Option1.at(1)->click();
    QCOMPARE(int(w->image().at(battery::ModeAddress)), 1);
    QCOMPARE(page()->TxVbatType->text(), QStringLiteral("1"));
    QCOMPARE(w->port->written, QByteArrayList{uploadFrames().first()});
}

void TestBatteryPage::linkRedrawsTheWindow() {
    w->image().set(battery::TableBase + 10, 0);
    w->image().set(battery::TableBase + 20, 10);
    page()->HS_index->setValue(5);
    page()->Text1->setText(QStringLiteral("x"));
    page()->CalculDebut->setText(QStringLiteral("20"));
    page()->CalculFin->setText(QStringLiteral("10"));
    page()->CalculeTab->click();
    QVERIFY(page()->Text1->text().isEmpty());
    for (int i = 10; i <= 20; ++i)
        QCOMPARE(page()->TxTBBat.at(static_cast<std::size_t>(i - 5))->text(),
                 QString::number(i - 10));
    QVERIFY(w->port->written.isEmpty()); // linking only edits the image
}

void TestBatteryPage::linkOutsideTheTableIsRefused() {
    const MemoryImage before = w->image();
    page()->CalculDebut->setText(QStringLiteral("60"));
    page()->CalculFin->setText(QStringLiteral("67"));
    page()->CalculeTab_Click();
    QVERIFY(w->image().bytes() == before.bytes());
    QCOMPARE(w->dialogs.shown.size(), 1);
}

void TestBatteryPage::encodeIntoStoresAValidMode() {
    MemoryImage image;
    image.set(battery::ModeAddress, 1);
    page()->TxVbatType->setText(QStringLiteral("2"));
    page()->encodeInto(image);
    QCOMPARE(int(image.at(battery::ModeAddress)), 2);
    page()->TxVbatType->setText(QStringLiteral("9")); // not a mode: the byte stays
    page()->encodeInto(image);
    QCOMPARE(int(image.at(battery::ModeAddress)), 2);
}

void TestBatteryPage::readButtonStopsThePollAndReads() {
    w->link->state.PollingOn = true;
    w->screens().FnMoniteur->Timer1.start();
    page()->BoutonPC->click();
    QVERIFY(!w->link->state.PollingOn);
    QVERIFY(!w->screens().FnMoniteur->Timer1.isActive());
    QVERIFY(w->link->state.FullReadActive);
    QVERIFY(w->link->state.MonitorResume);
    QCOMPARE(w->port->written, QByteArrayList{"@R0003489\r"});
}

QTEST_MAIN(TestBatteryPage)
#include "tst_battery_page.moc"
