#pragma once
// The names the companion tool accepts for launcher properties.
#include <string>

enum {
    FIRST_PROPERTY_ID = 96,
    LAST_PROPERTY_ID = 105,
    // Read by the start failure dialog; accepted by configure, not listed by show
    // unless set.
    DOWNLOAD_URL_PROPERTY_ID = 106,
};

// "PROP_START_JAR" for 101; "" for an id the launcher does not know.
const char* PropertyName(int id);

// Accepts a name from the property table (PROP_SPLASH ... PROP_SEARCH_JDK_ONLY,
// PROP_DOWNLOAD_URL) or a decimal id 96..106. False for anything else.
bool ParsePropertyKey(const std::string& key, int* id);
