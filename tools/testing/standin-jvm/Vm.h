#pragma once
// The stand-in VM's state shared by its files: the one VM, its hooks, what
// main is to do, and the JNI environment it hands out.
#include <string>

#include "process/Jni.h"

struct VmState {
    bool created = false;
    JniExitHook exitHook = nullptr;
    JniAbortHook abortHook = nullptr;
    JniVfprintfHook vfprintfHook = nullptr;
    std::string mainBehaviour = "return";  // see STANDIN_JVM_MAIN_OPTION
    std::string outText;
    std::string errText;
    unsigned long delayMs = 0;
};
VmState& Vm();

// The JNI function table every attached thread gets (full size; the slots
// the stand-in does not implement stop loudly).
JNIEnv* StandInEnv();
// The VM's message, through the vfprintf hook when given (as a VM does),
// else to standard error.
void VmPrint(const char* format, ...);

// Runs the application's main as the -D option chose (in Main.cpp):
// returns false when main left an exception pending.
bool RunMainBehaviour();
// Waits for every non-daemon thread main started; true when one was still
// running.
bool WaitForNonDaemonThreads();
