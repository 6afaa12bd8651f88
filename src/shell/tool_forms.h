#pragma once

class QMdiArea;
struct AppContext;

// Creates the emission test, final test and memory viewer forms, hidden, in
// framed windows of the screen area. The monitor must exist already: its
// "Start" button drives the emission clock.
void createToolForms(AppContext &app, QMdiArea *area);
