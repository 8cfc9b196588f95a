#pragma once
// What the in-process start hands the VM, composed from the same inputs as
// the child's argument line: every option its own string, the options only
// the java program understands left out, the class path's wildcards
// expanded (the VM does not expand them), and what the runtime's launcher
// helper is asked to load. Pure text: nothing is read or logged here.
#include <stddef.h>

#include "base/TextList.h"
#include "framework/CString.h"
#include "launcher/StartTarget.h"

// Splits text into words by the rules Windows programs read their command
// line with (CommandLineToArgvW's, for every word after the program name):
// blanks and tabs separate words outside double quotes; 2n backslashes and a
// quote give n backslashes and open or close the quotes; 2n+1 backslashes
// and a quote give n backslashes and a quote; other backslashes are plain;
// inside quotes "" is one quote.
void SplitCommandLineWords(const char* text, TextList* words);
void SplitCommandLineWords(const wchar_t* text, WideTextList* words);

// The words of a full process command line after its program name, the name
// read as Windows reads it (up to the closing quote, or the first blank).
void SplitArgumentsAfterProgramName(const wchar_t* commandLine, WideTextList* words);

// main's arguments as Windows holds them, in UTF-16, so that no character
// is lost to the ANSI code page: the last words of the process's full
// command line, as many as the pass-through text (ANSI, after the
// launcher's own switches) has.
void TakePassThroughArguments(const char* passThrough, const wchar_t* commandLine, WideTextList* arguments);

// JDK_JAVA_OPTIONS as java reads it: words separated by white space, a
// part in single or double quotes kept whole (the quotes removed), no
// escapes.
void SplitJdkJavaOptions(const char* text, TextList* words);

// True for an option only the java program understands (-jar, -cp,
// -classpath, --class-path, -m, --module, -splash:..., @file, -client,
// -server, ...); *takesValue when the next word belongs to it.
bool IsJavaProgramOnlyOption(const char* option, bool* takesValue);

// The class path with each "dir\*" (or "dir/*", or "*") entry replaced by
// the dir's .jar files, as java does before it hands the path to the VM; an
// entry that lists nothing goes. listFiles adds the names of the files
// (not folders) in a folder ("" for the current one) to names.
CString ExpandClassPathWildcards(const char* classPath, void (*listFiles)(const char* folder, TextList* names));
// The files of a folder, in the order the file system lists them.
void ListFolderFiles(const char* folder, TextList* names);

// The stack size a -Xss option asks for in bytes ("-Xss512k", "-Xss1m",
// "-Xss2g", "-Xss1048576"); 0 when option is no -Xss or not a size.
size_t ParseThreadStackSize(const char* option);

// The mode LauncherHelper.checkAndLoadMain takes: 1 a class, 2 a jar, 3 a
// module; 0 for START_NOTHING.
int LauncherHelperMode(StartMode mode);

struct JvmOptionInputs {
    const char* vmParameters = "";   // the joined VM options (the .vmoptions text)
    const char* jdkJavaOptions = ""; // JDK_JAVA_OPTIONS when the runtime is 9 or later, else ""
    const char* bootClassPath = "";  // the development-kit boot class path, or ""
    const StartTarget* target = nullptr;
    const TextList* arguments = nullptr;  // the application's arguments, ANSI
    // Lists a folder's files for the class path's wildcards.
    void (*listFiles)(const char* folder, TextList* names) = ListFolderFiles;
};

struct JvmStartPlan {
    TextList options;     // the VM options, hooks not included
    TextList dropped;     // the java program's own options, with their values
    int mode = 0;         // LauncherHelperMode
    CString what;         // the class, the jar, or module[/class]
    size_t stackSize = 0; // the main thread's, from the last -Xss; 0: the VM's default
};

// The options, in order: JDK_JAVA_OPTIONS' words, the VM parameters' words
// (an option of the java program's dropped; "--add-opens x" and its kind
// joined as "--add-opens=x", as the VM takes them), -Xbootclasspath/p:,
// -Djava.class.path= (the jar, or the expanded class path, "." when empty;
// none for a module), --module-path= and -Djdk.module.main= (and
// -Djdk.module.main.class=) for a module, -Dsun.java.command= (what is
// started and the arguments), -Dsun.java.launcher=SUN_STANDARD.
void ComposeJvmOptions(const JvmOptionInputs& inputs, JvmStartPlan* plan);
