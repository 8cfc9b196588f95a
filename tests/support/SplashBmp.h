#pragma once
// Splash images for launchers that need one to show their splash.
#include <string>

// A complete bottom-up 24-bit BMP file of width x height grey pixels.
std::string MakeSplashBmp(int width = 16, int height = 16);
// The same with its left half red and its right half blue, for tests that
// look at the pixels on the screen.
std::string MakeRedBlueSplashBmp(int width, int height);
