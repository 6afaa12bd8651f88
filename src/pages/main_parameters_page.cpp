#include "pages/main_parameters_page.h"

#include "shell/app_context.h"

MainParametersPage::MainParametersPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres"), QStringLiteral("Parameters"), parent), m_app(app) {}

void MainParametersPage::refreshFromImage() {}

void MainParametersPage::encodeInto(MemoryImage &) const {}
