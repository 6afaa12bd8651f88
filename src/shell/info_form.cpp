#include "shell/info_form.h"

#include "link/link.h"
#include "presentation/product_version.h"
#include "transfer/prog_start_form.h"
#include "ui/app_context.h"
#include "ui/brand_logo.h"
#include "ui/menu.h"
#include "ui/screens.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
struct BrandContent {
    const char *form;
    const char *productName; // the label that carries the product and version
    const char *product;     // followed by the product's version
    const char *distributor;
    const char *address;
    const char *contact;
};

// Distributor details shipped with each brand's build.
const BrandContent Brands[] = {
    {"FnEntete", "Label3", "K.V.D Interface Version ", "Morvane Group",
     "Zone Artisanale des Tilleuls, 12 rue des Forges",
     "Tel. +33 4 75 00 12 12  -  www.morvane-group.example"},
    {"FnEntete2", "Label4", "KVD  Interface Version ", "Kelvra Autogas", "Industrieweg 41, Unit 3",
     "Tel. +31 20 555 0140  -  www.kelvra.example"},
};

} // namespace

InfoForm::InfoForm(AppContext &app, int brand, QWidget *parent)
    : Form(QString::fromLatin1(Brands[brand == 1 ? 1 : 0].form), QStringLiteral("Information"),
           parent),
      m_app(app), m_brand(brand == 1 ? 1 : 0) {
    const BrandContent &content = Brands[m_brand];
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(16);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(brandLogo(brandColor(m_brand)));
    grid->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop);

    // The product line heads the form; its label is Label3 on one brand and
    // Label4 on the other, the distributor's lines take the remaining names.
    QStringList names = {QStringLiteral("Label1"), QStringLiteral("Label2"),
                         QStringLiteral("Label3"), QStringLiteral("Label4")};
    const QString productName = QString::fromLatin1(content.productName);
    names.removeOne(productName);
    productLabel = new QLabel(QString::fromLatin1(content.product) + productVersion(), this);
    productLabel->setObjectName(productName);
    QFont f = productLabel->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    productLabel->setFont(f);
    grid->addWidget(productLabel, 0, 1);
    const char *lines[] = {content.distributor, content.address, content.contact};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(QString::fromUtf8(lines[i]), this);
        label->setObjectName(names[i]);
        grid->addWidget(label, i + 1, 1);
    }
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumWidth(100);
    grid->addWidget(Command1, 4, 1, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, &InfoForm::Command1_Click);
}

void InfoForm::Form_Load() {
    m_app.menu.setButtonsEnabled({QStringLiteral("Connection"), QStringLiteral("Charger")}, false);
    place(m_brand == 0 ? 2800 : 3300, 2800);
}

// Closed with its title-bar button instead of OK: the fitter still gets the
// connection and load buttons, and the data-loading form (without opening
// the port; its read asks for the connection form when the port is closed).
void InfoForm::Form_Unload() {
    m_app.menu.setButtonsEnabled({QStringLiteral("Connection"), QStringLiteral("Charger")}, true);
    if (!m_app.link.state.DataLoaded)
        m_app.screens.startForm->showForm();
}

void InfoForm::Command1_Click() {
    m_app.screens.startForm->showForm();
    hideForm();
    m_app.menu.setButtonsEnabled({QStringLiteral("Connection"), QStringLiteral("Charger")}, true);
    m_app.link.OpenPort();
}
