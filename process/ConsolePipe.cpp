// Stand-in until this subsystem is built.
#include "process/ConsolePipe.h"
CConsolePipe::CConsolePipe(int interpreterKind, unsigned options)
    : m_processInfo(), m_options(options), m_interpreterKind(interpreterKind), m_readerThread(nullptr),
      m_process(nullptr), m_inputWrite(INVALID_HANDLE_VALUE), m_outputRead(INVALID_HANDLE_VALUE), m_lastError(0) {}
CConsolePipe::~CConsolePipe() {}
void CConsolePipe::OnOutput(const char*) {}
int CConsolePipe::Execute(const char*, PROCESS_INFORMATION*) { return 1; }
BOOL CConsolePipe::WriteInput(const char*) { return FALSE; }
void CConsolePipe::Close() {}
DWORD WINAPI CConsolePipe::ReaderThreadProc(LPVOID) { return 1; }
