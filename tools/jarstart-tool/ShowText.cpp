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
    if (image.isExample)
        out += "example configuration: these are jarstart.exe's example values; configure starts a copy from none\n";
    return out;
}
