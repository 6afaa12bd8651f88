#pragma once

struct AppContext;

// Encodes the edited settings of every page into the ECU memory image: the
// main parameters, the monitor's trims, the level sensor and the battery
// management type. Sends nothing; the caller writes the blocks it needs.
void UploadEditedValues(AppContext &app);
