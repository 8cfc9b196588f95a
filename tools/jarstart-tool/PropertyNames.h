#pragma once
// The names the companion tool accepts for launcher properties: those of the
// launcher's own property table.
#include <string>

#include "base/PropertyIds.h"

// "PROP_START_JAR" for 101; "" for an id the launcher does not know.
const char* PropertyName(int id);

// Accepts a name from the property table or a decimal id within it. False for
// anything else.
bool ParsePropertyKey(const std::string& key, int* id);

// "96..106": the ids the tool accepts, as its messages name them.
std::string PropertyIdRange();
