#pragma once
// Writing a configured copy of a launcher: its properties, splash image,
// icon and version information.
#include <map>
#include <string>

#include "tools/jarstart-tool/VersionInfo.h"

struct ConfigureRequest {
    std::string input;                 // the launcher to copy
    std::string output;                // the configured copy
    std::map<int, std::string> props;  // property ids to set; "" makes the property absent
    bool keepProperties = false;       // keep the input's properties not in props (else none)
    // Refuse a copy that names two things to start, or a path without its
    // class or module. Off only where a test needs the copy the launcher
    // itself must refuse.
    bool checkStartTarget = true;
    bool setSplash = false;
    std::string splashBytes;           // the image file's bytes, stored unchanged
    bool setIcon = false;
    std::string iconBytes;             // an .ico file: every image replaces the exe's icons
    bool setVersion = false;
    VersionFields version;             // replaces the exe's version information
};

// False with a one-line message in *error when it fails; the output is then
// not written (it is written to a temporary file and renamed). Property
// values and version texts are UTF-8. *note, when given, receives a line
// the user must act on although the output was written ("" when none).
bool ConfigureLauncher(const ConfigureRequest& request, std::string* error, std::string* note = nullptr);

// The configured copy's bytes without writing them: what ConfigureLauncher
// writes. input is read from request.input.
bool ConfigureBytes(const ConfigureRequest& request, std::string* output, std::string* error,
                    std::string* note = nullptr);
