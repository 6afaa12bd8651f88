#include "pages/lambda_page.h"

#include "shell/app_context.h"

LambdaPage::LambdaPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres6"), QStringLiteral("Lambda"), parent), m_app(app) {}

void LambdaPage::Affiche() {}
