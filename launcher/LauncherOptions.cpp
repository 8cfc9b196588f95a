// Stand-in until this subsystem is built.
#include "launcher/LauncherOptions.h"
const char* const kUsageText = "";
LauncherOptions::LauncherOptions() : m_help(false), m_console(false), m_debug(false) {}
void LauncherOptions::Parse(std::string) {}
std::string LauncherOptions::GetArguments() const { return m_arguments; }
int LauncherOptions::ParseSwitch(const std::string&, int position) { return position; }
bool LauncherOptions::IsSwitchEnd(const std::string&, int, int) const { return true; }
