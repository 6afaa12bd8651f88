#pragma once

struct AppContext;

// One pass over the controls of every screen, shown or not, from the ECU
// memory image. Runs after every decoded data frame, at the end of a
// whole-memory read, and when the menu opens a screen. While the link polls
// the monitor, the settings fields a fitter may be editing are left alone.
void RefreshScreens(AppContext &app);

// After a whole-memory read or a memory file load: the tables that are
// rebuilt only then.
void RebuildTables(AppContext &app);
