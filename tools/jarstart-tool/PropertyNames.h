#pragma once
// The names the companion tool accepts for launcher properties: those of the
// launcher's own property table, with what each holds and means.
#include <string>

#include "base/PropertyIds.h"

// "PROP_START_JAR" for 101; "" for an id the launcher does not know.
const char* PropertyName(int id);

// Accepts a name from the property table or a decimal id within it. False for
// anything else.
bool ParsePropertyKey(const std::string& key, int* id);

// "96..106": the ids the tool accepts, as its messages name them.
std::string PropertyIdRange();

// How the launcher reads a property's text, and so what configure accepts.
enum class PropertyKind {
    Bool,     // any non-empty text means yes
    Int,      // a whole number
    String,   // taken as stored
    Version,  // a Java version such as 11, 1.8 or 17.0.2
    Choice,   // one of a few words
};

struct PropertyDescription {
    int id;
    PropertyKind kind;
    const char* choices;  // Choice: the words, separated by blanks; else ""
    const char* meaning;  // one line for "jarstart-tool properties"
};

// The description of id; a String with an empty meaning for an id the
// table does not describe (yet), so a new property is never refused.
PropertyDescription DescribeProperty(int id);

// "bool", "int", "string", "version", or the choices joined with "|".
std::string PropertyKindText(const PropertyDescription& description);

// The known name nearest to key (letters compared without regard to case,
// "PROP_" added when key lacks it); "" when none is near enough to be
// what was meant.
std::string NearestPropertyName(const std::string& key);

// What "jarstart-tool properties" prints: one line per property,
// "ID NAME TYPE MEANING", columns aligned.
std::string PropertyListText();
