#pragma once
// A splash image for launchers that need one to show their splash.
#include <string>

// A complete 24-bit BMP file of width x height grey pixels.
std::string MakeSplashBmp(int width = 16, int height = 16);
