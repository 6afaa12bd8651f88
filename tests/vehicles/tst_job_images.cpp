// A job keeps configurations as memory files: the image's configuration
// comes back byte for byte, its firmware copy stamped from the ECU's byte.
#include "ecu/live_block.h"
#include "ecu/memory_map.h"
#include "vehicles/job_images.h"

#include <QTest>

class TestJobImages : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void memoryFileRoundTrip();
    void notAMemoryFile();
};

void TestJobImages::memoryFileRoundTrip() {
    MemoryImage image;
    for (int a = ecu::ConfigStart; a < ecu::FirmwareCopy; ++a)
        image.set(a, quint8((a * 7 + 3) & 0xFF));
    image.set(ecu::liveblock::Firmware, 0x2C);
    image.set(ecu::FirmwareCopy, 0x11); // a stale copy the file must not carry
    image.set(0x100, 0x99);             // outside the configuration: not in the file

    const QByteArray file = jobimages::memoryFileOf(image);
    QVERIFY(file.startsWith("FichierMemoire:03.0A.11."));
    QVERIFY(file.endsWith(".2C.Fin\r\n"));
    const std::optional<MemoryImage> back = jobimages::imageOf(file);
    QVERIFY(back);
    for (int a = ecu::ConfigStart; a < ecu::FirmwareCopy; ++a)
        QCOMPARE(back->at(a), image.at(a));
    QCOMPARE(back->at(ecu::FirmwareCopy), quint8(0x2C));
    QCOMPARE(back->at(0x100), quint8(0));
    QCOMPARE(back->at(ecu::liveblock::Firmware), quint8(0));
}

void TestJobImages::notAMemoryFile() {
    QVERIFY(!jobimages::imageOf(QByteArray()));
    QVERIFY(!jobimages::imageOf("FichierMemoire:01.02.Fin\r\n")); // cut short
    QVERIFY(!jobimages::imageOf(QByteArray(7000, 'A')));
}

QTEST_GUILESS_MAIN(TestJobImages)
#include "tst_job_images.moc"
