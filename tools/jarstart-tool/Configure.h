#pragma once
// Writing a configured copy of a launcher: its properties and splash image.
#include <map>
#include <string>

struct ConfigureRequest {
    std::string input;                 // the launcher to copy
    std::string output;                // the configured copy
    std::map<int, std::string> props;  // ids 96..106 to set; "" makes the property absent
    bool setSplash = false;
    std::string splashBytes;           // the image file's bytes, stored unchanged
};

// False with a one-line message in *error when it fails; the output is then
// not written (it is written to a temporary file and renamed).
bool ConfigureLauncher(const ConfigureRequest& request, std::string* error);
