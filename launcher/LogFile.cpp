#include "launcher/LogFile.h"

LogFile::LogFile() : m_file(nullptr) { InitializeCriticalSection(&m_lock); }
LogFile::~LogFile() { Close(); }
void LogFile::Open(const char*) {}
void LogFile::Write(const char*) {}
void LogFile::Close() {}
