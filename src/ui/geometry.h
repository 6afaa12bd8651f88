#pragma once

// Form positions and sizes come in twips; on screen they are logical pixels
// at 15 twips a pixel (the main window is about 1024 x 717).
constexpr int twips(int t) {
    return t / 15;
}

// Height of the menu bar above the screen area (900 twips).
constexpr int MenuBarHeight = 60;
