#pragma once

struct AppContext;

// The menu's file operations on the configuration area of the ECU memory
// image: save it to a memory file, or load one and offer to write it into
// the ECU when it was made from an ECU with the same firmware. Before such a
// write, the configuration as last read from the ECU is kept as a restore
// point; when the image no longer showed it (a file loaded, a page edited
// since), the ECU is read again first. The caller stops and restores the
// live poll around them.
void SaveMemoryFile(AppContext &app);
// True when a file's configuration was taken into the image (whether or not
// the fitter then wrote it into the ECU).
bool LoadMemoryFile(AppContext &app);
