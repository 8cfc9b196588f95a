#pragma once
// What the stand-in jvm.dll and the tests agree on: the option that chooses
// what the application's main does, the record's keys and the exit code of
// a loud stop. The stand-in writes its record to "<its own path>.record"
// as "key=value" lines (tools/testing/common/KeyValueFile.h), rewritten
// whole after each event, so a reader always sees a complete record.

// -Djarstart.standin.main=<what> chooses main's behaviour:
//   return        main returns (the default)
//   throw         main leaves a java.lang.RuntimeException pending
//   exit:<n>      main calls the exit hook with n (when given), then ExitProcess(n)
//   fail-init     JNI_CreateJavaVM refuses to start, its text through vfprintf
//   thread:<ms>   main starts a non-daemon thread that lives ms milliseconds
//   window[:<ms>] main shows a visible top-level window and returns when it
//                 is closed or after ms milliseconds (default 30000)
#define STANDIN_JVM_MAIN_OPTION "-Djarstart.standin.main="
// Texts main writes to standard output / standard error before acting.
#define STANDIN_JVM_OUT_OPTION "-Djarstart.standin.out="
#define STANDIN_JVM_ERR_OPTION "-Djarstart.standin.err="
// Milliseconds main waits before it acts, as a slow application does.
#define STANDIN_JVM_DELAY_OPTION "-Djarstart.standin.delay="

#define STANDIN_JVM_WINDOW_CLASS "JarstartStandInVmWindow"
#define STANDIN_JVM_WINDOW_TITLE "Stand-in VM application"

// The exit code of a loud stop: a JNI slot the stand-in does not implement
// was called, or a reference it never handed out was passed to it.
const int kStandInJvmStopExitCode = 213;

// The record's keys, each once unless marked "one a line".
//   dll            the stand-in's own full path
//   runtimeDll     where standinrt.dll was loaded from
//   module         where a C runtime library of a runtime's bin folder was
//                  loaded from, when loaded (one a line)
//   processId      the process the VM lives in
//   createVersion  the JNI version JNI_CreateJavaVM was asked for (decimal)
//   ignoreUnrecognized  0 or 1
//   option         every option string, in order (one a line; hooks too)
//   hook           exit, abort, vfprintf: the hooks given (one a line)
//   created        JNI_OK or the refusal's code (decimal)
//   refusal        why the VM refused to start
//   appId          the process's explicit AppUserModelID ("" when none)
//   appIdUnknown   1 when the system cannot tell the id (Wine answers
//                  E_NOTIMPL though it takes one)
//   findClass      every name FindClass was asked for (one a line)
//   launchMode     checkAndLoadMain's mode (1 class, 2 jar, 3 module)
//   launchName     checkAndLoadMain's name
//   launchPrint    checkAndLoadMain's first argument (0 or 1)
//   mainClass      the class main ran in
//   arg            main's arguments in UTF-8 (one a line)
//   mainThreadId   the thread main ran on
//   firstThreadId  the process's first thread
//   mainOnFirstThread   0 or 1
//   mainStackReserve    the stack reservation of main's thread, bytes
//   mainEnded      returned or threw
//   exitHook       the code main passed to the exit hook
//   threadEnded    1 when the non-daemon thread ended
//   destroyed      1 when DestroyJavaVM returned
//   destroyWaited  1 when DestroyJavaVM waited for a running non-daemon thread
//   stop           the loud stop's text
