#include "win32_resources.h"

#include "byte_layout.h"

namespace win32_resources {
namespace {

using expected::ResourceKey;

void SplitResourceName(LPCSTR text, uint16_t& id, std::string& name)
{
    if (IS_INTRESOURCE(text)) {
        id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(text));
        name.clear();
    } else {
        id = 0;
        name = text;
    }
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    ResourceKey key{};
    SplitResourceName(type, key.typeId, key.typeName);
    SplitResourceName(name, key.nameId, key.name);
    key.language = language;
    reinterpret_cast<std::vector<ResourceKey>*>(param)->push_back(key);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param)
{
    EnumResourceLanguagesA(module, type, name, CollectLanguage, param);
    return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param)
{
    EnumResourceNamesA(module, type, CollectName, param);
    return TRUE;
}

class DataFile {
public:
    explicit DataFile(const std::string& windowsPath)
        : module_(LoadLibraryExA(windowsPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~DataFile()
    {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    HMODULE Module() const { return module_; }

private:
    HMODULE module_;
};

}  // namespace

LPCSTR NameArgument(uint16_t id, const std::string& name) { return name.empty() ? MAKEINTRESOURCEA(id) : name.c_str(); }

std::vector<reader::Resource> ReadResources(const std::string& windowsPath, std::string& error)
{
    DataFile file(windowsPath);
    if (file.Module() == nullptr) {
        error = "LoadLibraryExA failed for " + windowsPath + ", error " + expected::Hex(GetLastError());
        return {};
    }
    std::vector<ResourceKey> keys;
    EnumResourceTypesA(file.Module(), CollectType, reinterpret_cast<LONG_PTR>(&keys));

    std::vector<reader::Resource> resources;
    for (const ResourceKey& key : keys) {
        HRSRC found = FindResourceExA(file.Module(), NameArgument(key.typeId, key.typeName),
                                      NameArgument(key.nameId, key.name), key.language);
        if (found == nullptr) {
            error = "FindResourceExA does not find what it enumerated: " + expected::Describe(key);
            return {};
        }
        const DWORD size = SizeofResource(file.Module(), found);
        HGLOBAL loaded = LoadResource(file.Module(), found);
        const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
        if (bytes == nullptr) {
            error = "LoadResource/LockResource failed for " + expected::Describe(key);
            return {};
        }
        resources.push_back({key, expected::Bytes(bytes, bytes + size)});
    }
    return resources;
}

}  // namespace win32_resources
