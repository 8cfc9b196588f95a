#include "base/Globals.h"

int g_splashActive = 1;
int g_splashCountdown = 3;
int g_keepAlive = 1;
int g_watchAppWindow = 0;
int g_splashPrepared = 0;
int g_searchJdkOnly = 0;
int g_showStartErrors = 0;
CString g_javaExeName = "javaw.exe";
CString g_minJavaVersion = "1.3";
CString g_startModeMinimum;
CString g_maxJavaVersion;
bool g_newestRuntime = false;
CString g_runtimeHome;
int g_searchedMachineBits = 0;
CString g_acceptedHome;
DWORD g_probeTimeLeftMs = INFINITE;
bool g_logToFile = false;
bool g_consoleLauncher = false;
LogFile g_logFile;
HWND g_splashWnd = nullptr;
IPicture* g_splashPicture = nullptr;
PROCESS_INFORMATION g_appProcess = {};
HANDLE g_appThread = nullptr;
DWORD g_appExitCode = 0;
OutputTail g_appOutputTail(8 * 1024);
HANDLE g_appOutputEnded = nullptr;
