// modules.cpp: loads panel-type modules and asks each for its types, in the order the contract fixes.
#include "apps/quorvane/modules.h"
#include "apps/quorvane/files.h"

#include <algorithm>

namespace {

constexpr int EntryNameBytes = 256;   // the module writes the names with no size argument
constexpr int MaxTypesPerModule = 32; // a module that never says "no more" is cut off here

std::string BoundedText(const char *text, size_t size)
{
    size_t n = 0;
    while (n < size && text[n])
        ++n;
    return std::string(text, n);
}

bool AlreadyLoaded(HMODULE module)
{
    for (const PanelType &t : host.types)
        if (t.module == module)
            return true;
    return false;
}

void LoadModule(const std::string &path)
{
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        host.moduleProblems.push_back(FileNameOf(path) + " could not be loaded (error " +
                                      std::to_string(GetLastError()) + ")");
        return;
    }
    if (AlreadyLoaded(module))
        return;
    auto enumerate = reinterpret_cast<EnumeratePanelTypesProc>(
        reinterpret_cast<void *>(GetProcAddress(module, "EnumeratePanelTypes")));
    if (!enumerate) {
        host.moduleProblems.push_back(FileNameOf(path) + " is not a panel-type module");
        FreeLibrary(module);
        return;
    }
    int found = 0;
    for (int n = 0; n < MaxTypesPerModule; ++n) {
        char initName[EntryNameBytes] = {}, createName[EntryNameBytes] = {}, cleanupName[EntryNameBytes] = {};
        if (!enumerate(initName, createName, cleanupName, host.instance, 0))
            break;
        initName[EntryNameBytes - 1] = createName[EntryNameBytes - 1] = cleanupName[EntryNameBytes - 1] = 0;
        auto init = reinterpret_cast<InitPanelTypeProc>(
            reinterpret_cast<void *>(GetProcAddress(module, initName)));
        PanelType type = {};
        type.modulePath = path;
        type.moduleFile = FileNameOf(path);
        type.module = module;
        type.create = reinterpret_cast<PanelToolCreateProc>(
            reinterpret_cast<void *>(GetProcAddress(module, createName)));
        type.cleanup = reinterpret_cast<PanelToolCleanupProc>(
            reinterpret_cast<void *>(GetProcAddress(module, cleanupName)));
        if (!init || !type.create) {
            host.moduleProblems.push_back(type.moduleFile + " names entry points it does not export");
            continue;
        }
        PanelTypeInfo *info = nullptr;
        init(&info, 0);
        if (info) {
            type.name = BoundedText(info->name, sizeof info->name);
            type.description = BoundedText(info->description, sizeof info->description);
            type.colorBitmap = info->colorBitmap;
            type.monoBitmap = info->monoBitmap;
        }
        if (type.name.empty())
            type.name = type.moduleFile;
        host.types.push_back(type);
        ++found;
    }
    if (found == 0)
        host.moduleProblems.push_back(FileNameOf(path) + " offers no panel type");
}

void LoadFolder(const std::string &folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.dll").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::string> names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    for (const std::string &name : names)
        LoadModule(folder + "\\" + name);
}

} // namespace

void LoadPanelTypes()
{
    if (host.options.modulePaths.empty() && host.options.moduleFolders.empty()) {
        LoadModule(host.programFolder + "\\VideoPoker.dll");
        std::string panels = host.programFolder + "\\panels";
        if (GetFileAttributesA(panels.c_str()) != INVALID_FILE_ATTRIBUTES)
            LoadFolder(panels);
        return;
    }
    for (const std::string &path : host.options.modulePaths)
        LoadModule(path);
    for (const std::string &folder : host.options.moduleFolders)
        LoadFolder(folder);
}

int FindType(const std::string &moduleFile, const std::string &typeName)
{
    for (size_t i = 0; i < host.types.size(); ++i)
        if (lstrcmpiA(host.types[i].moduleFile.c_str(), moduleFile.c_str()) == 0 &&
            host.types[i].name == typeName)
            return static_cast<int>(i);
    return -1;
}
