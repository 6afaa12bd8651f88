#pragma once

struct AppContext;

// One pass over the controls of every screen, shown or not, from the ECU
// memory image. The map and calibration screens' live copies of the monitor
// are put on their controls only while shown (and when shown, from what
// the last pass copied); what the acquisition and the calibration step read
// is copied on every pass. Runs after every decoded data frame, at the end of a
// whole-memory read, and when the menu opens a screen. While the link polls
// the monitor, the settings fields a fitter may be editing are left alone.
void RefreshScreens(AppContext &app);

// After a whole-memory read or a memory file load: the tables that are
// rebuilt only then.
void RebuildTables(AppContext &app);
