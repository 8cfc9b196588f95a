#include "tools/jarstart-tool/Resources.h"

#include "tools/jarstart-tool/FileBytes.h"

ResourceId ResourceId::FromParam(LPCSTR param) {
    ResourceId id;
    if (IS_INTRESOURCE(param)) {
        id.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(param));
    } else {
        id.isNumber = false;
        id.text = param;
    }
    return id;
}

ResourceId ResourceId::Number(WORD n) {
    ResourceId id;
    id.number = n;
    return id;
}

namespace {
struct Collector {
    std::vector<ResourceItem>* items;
    std::vector<ResourceId> types;
    std::vector<ResourceId> names;
    std::vector<WORD> languages;
};

BOOL CALLBACK OnType(HMODULE, LPSTR type, LONG_PTR param) {
    reinterpret_cast<Collector*>(param)->types.push_back(ResourceId::FromParam(type));
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    reinterpret_cast<Collector*>(param)->names.push_back(ResourceId::FromParam(name));
    return TRUE;
}

BOOL CALLBACK OnLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<Collector*>(param)->languages.push_back(language);
    return TRUE;
}

bool LoadBytes(HMODULE module, const ResourceItem& item, std::string* bytes, DWORD* error) {
    HRSRC found = FindResourceExA(module, item.type.AsParam(), item.name.AsParam(), item.language);
    if (!found) {
        *error = GetLastError();
        return false;
    }
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data && size) {
        *error = GetLastError();
        return false;
    }
    bytes->assign(static_cast<const char*>(data), size);
    return true;
}
}  // namespace

bool ReadAllResources(HMODULE module, std::vector<ResourceItem>* items, DWORD* error) {
    items->clear();
    Collector collector;
    collector.items = items;
    // Enumeration fails with ERROR_RESOURCE_DATA_NOT_FOUND (or similar) for
    // an image without a resource section: that is an empty list, not an error.
    EnumResourceTypesA(module, OnType, reinterpret_cast<LONG_PTR>(&collector));
    for (const ResourceId& type : collector.types) {
        collector.names.clear();
        EnumResourceNamesA(module, type.AsParam(), OnName, reinterpret_cast<LONG_PTR>(&collector));
        for (const ResourceId& name : collector.names) {
            collector.languages.clear();
            EnumResourceLanguagesA(module, type.AsParam(), name.AsParam(), OnLanguage,
                                   reinterpret_cast<LONG_PTR>(&collector));
            for (WORD language : collector.languages) {
                ResourceItem item;
                item.type = type;
                item.name = name;
                item.language = language;
                if (!LoadBytes(module, item, &item.bytes, error)) return false;
                items->push_back(item);
            }
        }
    }
    return true;
}

bool ReplaceAllResources(const std::string& file, const std::vector<ResourceItem>& items, std::string* error) {
    HANDLE update = BeginUpdateResourceA(file.c_str(), TRUE);
    if (!update) {
        DWORD code = GetLastError();
        *error = "BeginUpdateResourceA failed: " + SystemMessage(code);
        return false;
    }
    for (const ResourceItem& item : items) {
        if (!UpdateResourceA(update, item.type.AsParam(), item.name.AsParam(), item.language,
                             const_cast<char*>(item.bytes.data()), static_cast<DWORD>(item.bytes.size()))) {
            DWORD code = GetLastError();
            EndUpdateResourceA(update, TRUE);
            *error = "UpdateResourceA failed: " + SystemMessage(code);
            return false;
        }
    }
    if (!EndUpdateResourceA(update, FALSE)) {
        DWORD code = GetLastError();
        *error = "EndUpdateResourceA failed: " + SystemMessage(code);
        return false;
    }
    return true;
}
