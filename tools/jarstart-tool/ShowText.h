#pragma once
// What "jarstart-tool show" prints for a launcher.
#include <string>

#include "tools/jarstart-tool/LauncherImage.h"

// One line "ID NAME=VALUE" for each property always listed (and for the later ones when set),
// values as the launcher reads them, then "splash image: present (N bytes)"
// or "splash image: absent", then "kind: GUI" or "kind: console" (the PE
// subsystem). Lines end with "\n".
std::string FormatShow(const LauncherImage& image);
