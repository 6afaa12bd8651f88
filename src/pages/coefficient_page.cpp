#include "pages/coefficient_page.h"

#include "shell/app_context.h"

CoefficientPage::CoefficientPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres3"), QStringLiteral("Coefficient tables"), parent),
      m_app(app) {}

void CoefficientPage::PutInTaB() {}
