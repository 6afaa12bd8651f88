#include "pages/level_page.h"

#include "shell/app_context.h"

LevelPage::LevelPage(AppContext &app, QWidget *parent)
    : Form(QStringLiteral("FnParametres2"), QStringLiteral("Level sensor"), parent), m_app(app) {}

void LevelPage::refreshFromImage() {}

void LevelPage::encodeInto(MemoryImage &) const {}
