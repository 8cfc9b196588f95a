#include "tools/jarstart-tool/ShowText.h"

#include "tools/jarstart-tool/ConfigureChecks.h"
#include "tools/jarstart-tool/IconFile.h"
#include "tools/jarstart-tool/PropertyNames.h"
#include "tools/jarstart-tool/VersionInfo.h"

namespace {
std::string MachineName(unsigned machine) {
    switch (machine) {
    case 0x14c: return "x86";
    case 0x8664: return "x64";
    case 0xAA64: return "ARM64";
    default: break;
    }
    const char digits[] = "0123456789abcdef";
    std::string hex;
    for (int shift = 12; shift >= 0; shift -= 4) hex += digits[(machine >> shift) & 0xF];
    return "other (0x" + hex + ")";
}

std::string VersionLines(const LauncherImage& image) {
    const ResourceItem* resource = FindAsLoaderDoes(image.resources, 16, VERSION_RESOURCE_ID);
    if (!resource) {
        for (const ResourceItem& item : image.resources)
            if (item.type.Is(16)) resource = &item;
    }
    if (!resource) return "version information: none\n";
    DecodedVersionInfo info;
    if (!DecodeVersionInfo(resource->bytes, &info)) return "version information: damaged\n";
    std::string out;
    if (info.hasFixed) {
        out += "version: " + VersionNumberText(info.fileVersion);
        if (VersionNumberText(info.productVersion) != VersionNumberText(info.fileVersion))
            out += " (product " + VersionNumberText(info.productVersion) + ")";
        out += "\n";
    }
    for (const auto& entry : info.strings) out += "version " + entry.first + ": " + entry.second + "\n";
    return out.empty() ? "version information: empty\n" : out;
}
}  // namespace

std::string FormatShow(const LauncherImage& image) {
    std::string out;
    for (const LauncherPropertyInfo& property : kLauncherProperties) {
        std::string value = PropertyValue(image, property.id);
        if (!property.alwaysListed && value.empty()) continue;
        out += std::to_string(property.id) + " " + property.name + "=" + value + "\n";
    }
    if (image.hasSplash) {
        out += "splash image: present (" + std::to_string(image.splash.size()) + " bytes)\n";
        out += "splash format: " + DescribeSplashImage(image.splash) + "\n";
    } else {
        out += "splash image: absent\n";
    }
    out += "icon: " + DescribeIcon(image.resources) + "\n";
    out += VersionLines(image);
    // Which of the two launchers this is: the subsystem decides how Windows
    // starts it (with or without a console) and so what it is for.
    if (image.subsystem == 2) out += "kind: GUI\n";
    else if (image.subsystem == 3) out += "kind: console\n";
    else out += "kind: other (subsystem " + std::to_string(image.subsystem) + ")\n";
    out += "machine: " + MachineName(image.machine) + "\n";
    // Present is all the tool can say: checking the signature needs the
    // certificate chain, which signtool or osslsigncode verify.
    if (image.signatureBytes)
        out += "signature: present (" + std::to_string(image.signatureBytes) + " bytes, not verified here)\n";
    else
        out += "signature: none\n";
    if (image.isExample)
        out += "example configuration: these are jarstart.exe's example values; configure starts a copy from none\n";
    return out;
}
