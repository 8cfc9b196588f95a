#pragma once
// What a launcher starts, chosen once from its properties: a jar, a main
// class on a class path, or a module on a module path. The launch sequence
// branches on the mode only at the steps that differ (the lowest runtime
// version, the start part of the argument line). Pure text: nothing here
// reads a property or logs.
#include "framework/CString.h"

enum StartMode {
    START_NOTHING,      // none or more than one of the three is named
    START_JAR,          // -jar PROP_START_JAR
    START_MAIN_CLASS,   // -cp PROP_CLASS_PATH PROP_MAIN_CLASS
    START_MAIN_MODULE,  // --module-path PROP_MODULE_PATH -m PROP_MAIN_MODULE
};

struct StartTarget {
    StartMode mode = START_NOTHING;
    CString jar;         // PROP_START_JAR as stored
    CString mainClass;   // PROP_MAIN_CLASS
    CString classPath;   // PROP_CLASS_PATH with %NAME% expanded; "dir\*" as written
    CString mainModule;  // PROP_MAIN_MODULE: "module" or "module/class"
    CString modulePath;  // PROP_MODULE_PATH with %NAME% expanded; "": the runtime image's own modules
};

// Sets target->mode from which of jar, main class and main module are set.
// False when two or three are, or none: the mode is then START_NOTHING and
// *problem says which, in a sentence for the log and the error box.
bool ChooseStartMode(StartTarget* target, CString* problem);

// The lowest runtime version the mode can start on: "9" for a module (the
// first Java with modules), "" when the runtime's own minimum is enough.
const char* MinimumVersionForMode(StartMode mode);

// The start part of the argument line, with its leading blank: " -jar " and
// the jar exactly as stored (never quoted: the line of every launcher
// configured before the other modes stays as it was); " -cp ", the class
// path ("." when empty, so that no CLASSPATH variable of the user's slips
// in), a blank and the class; " --module-path ", the path and a blank when
// there is one, then "-m " and the module. Each piece but the jar quoted as
// QuoteArgument does. "" for START_NOTHING.
CString JoinStartPart(const StartTarget& target);

// One argument so that the runtime's command-line parsing reads it back
// whole and unchanged: as it is unless it is empty or holds a blank, a tab,
// a double quote or a wildcard (which Java's Windows launcher would expand
// against the current directory); then in double quotes, with a quote
// inside and the backslashes before a quote, or before the closing quote,
// escaped by the usual rules.
CString QuoteArgument(const char* text);
