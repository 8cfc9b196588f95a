// Apart from Launcher.cpp so that test programs that never configure a
// launcher do not need the companion tool's code.
#include <gtest/gtest.h>

#include "base/PropertyIds.h"

#include "tests/support/Launcher.h"
#include "tests/support/Paths.h"
#include "tools/testing/common/FileUtil.h"
#include "tools/jarstart-tool/Configure.h"

std::string PrepareLauncher(const std::string& folder, const std::map<int, std::string>& props,
                            const std::string& exeName, const std::string* splash, const std::string& sourceExe) {
    ConfigureRequest request;
    request.input = BuildDir() + sourceExe;
    request.output = folder;
    if (!request.output.empty() && request.output.back() != '\\') request.output += '\\';
    request.output += exeName;
    for (int id = kFirstPropertyId; id <= kLastPropertyId; ++id) request.props[id] = "";
    // The launcher's own refusal of two things to start, or a path without
    // its class or module, is tested on the copies configure refuses.
    request.checkStartTarget = false;
    for (const auto& prop : props) request.props[prop.first] = prop.second;
    if (splash) {
        request.setSplash = true;
        request.splashBytes = *splash;
    }
    std::string error;
    if (!ConfigureLauncher(request, &error)) {
        ADD_FAILURE() << "cannot configure " << request.output << ": " << error;
        return std::string();
    }
    return request.output;
}
