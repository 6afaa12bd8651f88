#pragma once

#include <QString>

// The product's version ("3.02"), as the main window's title and the
// information forms show it; the programs' --version prints the same.
QString productVersion();
