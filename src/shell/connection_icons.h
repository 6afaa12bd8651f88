#pragma once

#include <QIcon>

// The connection form's picture buttons, drawn so they look the same on
// every platform and style.
namespace connection_icons {
QIcon validate(); // a green tick
QIcon refresh();  // a circular arrow
QIcon search();   // a magnifying glass over a plug
} // namespace connection_icons
