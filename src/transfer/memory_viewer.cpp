#include "transfer/memory_viewer.h"

#include "ecu/memory_image.h"
#include "transfer/hex_dump.h"
#include "ui/colors.h"
#include "ui/shape.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {
// The dump needs a font whose characters all have one width. The ECU's own
// tools use Lucida Console where Windows has it; elsewhere the desktop's
// fixed-pitch font takes its place.
QFont dumpFont() {
    const QString preferred = QStringLiteral("Lucida Console");
    if (QFontDatabase::families().contains(preferred)) {
        QFont f(preferred);
        f.setFixedPitch(true);
        return f;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

const QColor ChangedBackground = bgrColor(colors::Orange).lighter(150);

QLineEdit *field(const QString &name, int width, QWidget *parent) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(width);
    return e;
}

QPlainTextEdit *dumpText(const QString &name, const QFont &font, QWidget *parent) {
    auto *t = new QPlainTextEdit(parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    t->setFont(font);
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return t;
}

// The dump's CR LF line ends as the text box keeps them.
QString boxText(const QString &dumpLines) {
    QString t = dumpLines;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    return t;
}
} // namespace

MemoryViewer::MemoryViewer(const MemoryImage &image, QWidget *parent)
    : Form(QStringLiteral("FnMemoire"), QStringLiteral("Memoire"), parent), m_image(image) {
    const QFont mono = dumpFont();
    Text1 = field(QStringLiteral("Text1"), 80, this);
    Text1->setText(QStringLiteral("&H800"));
    Text2 = field(QStringLiteral("Text2"), 60, this);
    Text3 = field(QStringLiteral("Text3"), 60, this);
    Text4 = field(QStringLiteral("Text4"), 60, this);
    for (QLineEdit *e : {Text2, Text3, Text4})
        e->setReadOnly(true);
    Text5 = dumpText(QStringLiteral("Text5"), mono, this);
    Text6 = dumpText(QStringLiteral("Text6"), mono, this);
    BtShow = new QPushButton(QStringLiteral("Voir"), this);
    BtShow->setObjectName(QStringLiteral("BtShow"));
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Label1 = new QLabel(QStringLiteral("Lecture continu"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    LabelNote = new QLabel(this);
    LabelNote->setObjectName(QStringLiteral("LabelNote"));
    Shape1 = new Shape(QStringLiteral("Shape1"), Shape::Kind::Frame, this);
    Shape1->setFixedHeight(4);
    Shape1->setFillColor(colors::Green);

    // Wide enough for a whole dump line and 29 lines without scrolling.
    const QFontMetrics fm(mono);
    const int lineWidth = fm.horizontalAdvance(QString(40, QLatin1Char('0')));
    Text5->setFixedSize(lineWidth + 16, fm.lineSpacing() * hexdump::Lines + 16);
    Text6->setFixedSize(fm.horizontalAdvance(QStringLiteral("00000")) + 16, Text5->height());

    auto *top = new QHBoxLayout;
    top->addWidget(Text1);
    top->addWidget(BtShow);
    top->addSpacing(12);
    for (QLineEdit *e : {Text2, Text3, Text4})
        top->addWidget(e);
    top->addStretch(1);
    auto *dump = new QHBoxLayout;
    dump->addWidget(Text6);
    dump->addWidget(Text5);
    dump->addStretch(1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Check1);
    bottom->addWidget(Label1);
    bottom->addStretch(1);
    LabelNote->setWordWrap(true);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(Shape1);
    column->addLayout(dump);
    column->addLayout(bottom);
    column->addWidget(LabelNote);

    connect(BtShow, &QPushButton::clicked, this, &MemoryViewer::BtShow_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &MemoryViewer::BtShow_Click);
}

bool MemoryViewer::followsImage() const {
    return Check1->isChecked();
}

void MemoryViewer::BtShow_Click() {
    const std::optional<qint64> start = hexdump::parseAddress(Text1->text());
    hexdump::Dump d;
    if (start)
        d = hexdump::build(m_image, *start);
    else
        d.note = QStringLiteral("Address not readable: a number, or &H and hexadecimal digits");
    Text2->setText(d.Text2);
    Text3->setText(d.Text3);
    Text4->setText(d.Text4);
    Text5->setPlainText(boxText(d.Text5));
    Text6->setPlainText(boxText(d.Text6));
    LabelNote->setText(d.note);
    markChanges(d.valid ? *start : -1, d.bytes);
}

// A byte is marked when the same address was shown by the previous drawing
// with another value; a new start address starts without marks.
void MemoryViewer::markChanges(qint64 start, const QByteArray &bytes) {
    m_changed.clear();
    if (start >= 0 && start == m_shownStart) {
        const qsizetype n = qMin(bytes.size(), m_shownBytes.size());
        for (qsizetype i = 0; i < n; ++i) {
            if (bytes.at(i) != m_shownBytes.at(i))
                m_changed.append(int(i));
        }
    }
    m_shownStart = start;
    m_shownBytes = bytes;

    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat look;
    look.setBackground(ChangedBackground);
    for (int offset : std::as_const(m_changed)) {
        const int row = offset / hexdump::BytesPerLine;
        const int k = offset % hexdump::BytesPerLine;
        const QTextBlock line = Text5->document()->findBlockByNumber(row);
        for (const auto &[column, length] :
             {std::pair{hexdump::HexColumn + 3 * k, 2}, std::pair{hexdump::CharColumn + k, 1}}) {
            QTextCursor c(line);
            c.setPosition(line.position() + column);
            c.setPosition(line.position() + column + length, QTextCursor::KeepAnchor);
            marks.append({c, look});
        }
    }
    Text5->setExtraSelections(marks);
}
