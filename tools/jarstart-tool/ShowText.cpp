#include "tools/jarstart-tool/ShowText.h"

#include "tools/jarstart-tool/PropertyNames.h"

std::string FormatShow(const LauncherImage& image) {
    std::string out;
    for (const LauncherPropertyInfo& property : kLauncherProperties) {
        std::string value = PropertyValue(image, property.id);
        if (!property.alwaysListed && value.empty()) continue;
        out += std::to_string(property.id) + " " + property.name + "=" + value + "\n";
    }
    if (image.hasSplash)
        out += "splash image: present (" + std::to_string(image.splash.size()) + " bytes)\n";
    else
        out += "splash image: absent\n";
    // Which of the two launchers this is: the subsystem decides how Windows
    // starts it (with or without a console) and so what it is for.
    if (image.subsystem == 2) out += "kind: GUI\n";
    else if (image.subsystem == 3) out += "kind: console\n";
    else out += "kind: other (subsystem " + std::to_string(image.subsystem) + ")\n";
    if (image.isExample)
        out += "example configuration: these are jarstart.exe's example values; configure starts a copy from none\n";
    return out;
}
