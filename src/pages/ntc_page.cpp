#include "pages/ntc_page.h"

#include "shell/app_context.h"

NtcPage::NtcPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres4"), QStringLiteral("NTC tables"), parent), m_app(app) {}

void NtcPage::PutIndexNTCE() {}

void NtcPage::PutIndexNTCG() {}
