#include "pages/compare_window.h"

#include "ecu/memory_map.h"
#include "files/memory_file.h"
#include "link/link.h"
#include "settings/config_compare.h"
#include "ui/app_context.h"
#include "ui/captions.h"
#include "ui/dialogs.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString FileFilter = QStringLiteral("File ECM(*.fra)|*.fra|All File (*.*)|*.*");

QPushButton *button(const QString &name, const QString &text, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

CompareWindow::CompareWindow(AppContext &app, QWidget *parent)
    : QWidget(parent, Qt::Window), m_app(app) {
    setObjectName(QStringLiteral("FnCompare"));
    auto *outer = new QVBoxLayout(this);
    auto *sources = new QGridLayout;
    QLineEdit **fields[] = {&TxSourceA, &TxSourceB};
    QPushButton **ecus[] = {&BtEcuA, &BtEcuB};
    QPushButton **files[] = {&BtFileA, &BtFileB};
    for (int side = 0; side < 2; ++side) {
        const QString letter = side == 0 ? QStringLiteral("A") : QStringLiteral("B");
        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("TxSource") + letter);
        field->setReadOnly(true);
        field->setMinimumWidth(360);
        *fields[side] = field;
        *ecus[side] = button(QStringLiteral("BtEcu") + letter, QStringLiteral("ECU"), this);
        *files[side] = button(QStringLiteral("BtFile") + letter, QString(), this);
        sources->addWidget(new QLabel(letter + QLatin1Char(':'), this), side, 0);
        sources->addWidget(field, side, 1);
        sources->addWidget(*ecus[side], side, 2);
        sources->addWidget(*files[side], side, 3);
        connect(*ecus[side], &QPushButton::clicked, this, [this, side] { setSource(side, {}); });
        connect(*files[side], &QPushButton::clicked, this, [this, side] { chooseFile(side); });
    }
    BtCompare = button(QStringLiteral("BtCompare"), QString(), this);
    sources->addWidget(BtCompare, 0, 4, 2, 1);
    outer->addLayout(sources);

    ListDifferences = new QTreeWidget(this);
    ListDifferences->setObjectName(QStringLiteral("ListDifferences"));
    ListDifferences->setRootIsDecorated(false);
    ListDifferences->setAlternatingRowColors(true);
    ListDifferences->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    outer->addWidget(ListDifferences, 1);
    TxSummary = new QLabel(this);
    TxSummary->setObjectName(QStringLiteral("TxSummary"));
    outer->addWidget(TxSummary);
    connect(BtCompare, &QPushButton::clicked, this, &CompareWindow::BtCompare_Click);

    setSource(0, {});
    setSource(1, {});
    caption();
    connect(&captions::notifier(), &captions::Notifier::changed, this, &CompareWindow::caption);
    resize(760, 520);
}

void CompareWindow::caption() {
    setWindowTitle(captions::text(captions::CompareTitle));
    for (QPushButton *b : {BtFileA, BtFileB})
        b->setText(captions::text(captions::CompareFile));
    BtCompare->setText(captions::text(captions::Compare));
    ListDifferences->setHeaderLabels({captions::text(captions::Setting), QStringLiteral("A"),
                                      QStringLiteral("B"), captions::text(captions::Address)});
    for (int side = 0; side < 2; ++side)
        setSource(side, m_paths[side]);
}

void CompareWindow::setSource(int side, const QString &path) {
    m_paths[side] = path;
    (side == 0 ? TxSourceA : TxSourceB)
        ->setText(path.isEmpty() ? captions::text(captions::InTool) : path);
}

QString CompareWindow::source(int side) const {
    return m_paths[side];
}

void CompareWindow::chooseFile(int side) {
    const QString path = m_app.dialogs.openFile(QStringLiteral(" Load file ECM "), FileFilter,
                                                QStringLiteral("Default.fra"));
    if (!path.isEmpty())
        setSource(side, path);
}

// The tool's image as a memory file would hold it (its firmware byte in its
// copy), or the file's bytes; nothing, with the reason shown, when there
// is nothing to compare.
std::optional<MemoryImage> CompareWindow::load(int side) {
    const QString &path = m_paths[side];
    const Link &link = m_app.link;
    if (path.isEmpty()) {
        // An image never read nor loaded holds zeros, not a configuration.
        if (!link.state.DataLoaded) {
            m_app.dialogs.warning(QStringLiteral(" No configuration in the tool yet: read the ECU "
                                                 "or load a file "));
            return std::nullopt;
        }
        MemoryImage image = link.image;
        ecu::stampFirmware(image);
        return image;
    }
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()) {
        m_app.dialogs.warning(link.messages[1]); // " Non-existent file "
        return std::nullopt;
    }
    const memory_file::Parsed parsed = memory_file::read(path);
    if (!parsed.ok) {
        m_app.dialogs.warning(link.messages[2]); // " Noncorrect File error "
        return std::nullopt;
    }
    MemoryImage image;
    memory_file::apply(parsed, &image);
    return image;
}

void CompareWindow::BtCompare_Click() {
    ListDifferences->clear();
    TxSummary->clear();
    const std::optional<MemoryImage> a = load(0);
    const std::optional<MemoryImage> b = a ? load(1) : std::nullopt;
    if (!a || !b)
        return;
    const QList<compare::Difference> found = compare::differences(*a, *b);
    for (const compare::Difference &d : found) {
        ListDifferences->addTopLevelItem(new QTreeWidgetItem(
            QStringList{d.setting, d.before, d.after, compare::addressText(d.address)}));
    }
    for (int c = 1; c < 4; ++c)
        ListDifferences->resizeColumnToContents(c);
    TxSummary->setText(found.isEmpty() ? captions::text(captions::NoDifference)
                       : found.size() == 1
                           ? captions::text(captions::OneDifference)
                           : captions::text(captions::Differences).arg(found.size()));
}
