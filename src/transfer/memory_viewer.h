#pragma once

#include "ui/form.h"

#include <QByteArray>
#include <QList>

class MemoryImage;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Shape;

// FnMemoire: the ECU memory image as a hexadecimal dump, 29 lines of 8 bytes
// from a typed start address. Ticked, it redraws after every refresh of the
// screens and marks the bytes that changed since the previous drawing.
class MemoryViewer : public Form {
    Q_OBJECT
  public:
    explicit MemoryViewer(const MemoryImage &image, QWidget *parent = nullptr);

    void BtShow_Click();
    // Continuous reading is ticked: the screen refresh redraws the dump.
    bool followsImage() const;

    // Offsets from the start address of the bytes marked as changed.
    const QList<int> &changedOffsets() const { return m_changed; }

    QLineEdit *Text1;      // start address: decimal, or hexadecimal after "&H"
    QLineEdit *Text2;      // the byte there, decimal
    QLineEdit *Text3;      // the address, 4 hex digits
    QLineEdit *Text4;      // the byte, 4 hex digits
    QPlainTextEdit *Text5; // the dump
    QPlainTextEdit *Text6; // the line addresses
    QPushButton *BtShow;
    QCheckBox *Check1;
    QLabel *Label1;
    QLabel *LabelNote; // why the dump is short or empty
    Shape *Shape1;

  private:
    void markChanges(qint64 start, const QByteArray &bytes);

    const MemoryImage &m_image;
    qint64 m_shownStart = -1;
    QByteArray m_shownBytes;
    QList<int> m_changed;
};
