#include "tools/jarstart-tool/ShowText.h"

#include "tools/jarstart-tool/PropertyNames.h"

std::string FormatShow(const LauncherImage& image) {
    std::string out;
    for (int id = FIRST_PROPERTY_ID; id <= DOWNLOAD_URL_PROPERTY_ID; ++id) {
        std::string value = PropertyValue(image, id);
        if (id == DOWNLOAD_URL_PROPERTY_ID && value.empty()) continue;
        out += std::to_string(id) + " " + PropertyName(id) + "=" + value + "\n";
    }
    if (image.hasSplash)
        out += "splash image: present (" + std::to_string(image.splash.size()) + " bytes)\n";
    else
        out += "splash image: absent\n";
    return out;
}
