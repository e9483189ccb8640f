// Plug-in libraries, which create controls the factory does not know.
#include "paint_manager.h"

#include <algorithm>

namespace SkinUI {

namespace {

std::vector<CreateControlProc>& Plugins()
{
    static std::vector<CreateControlProc> plugins;
    return plugins;
}

} // namespace

bool CPaintManagerUI::LoadPlugin(const wchar_t* pstrModuleName)
{
    if (!pstrModuleName) {
        return false;
    }
    HMODULE module = LoadLibraryW(pstrModuleName);
    if (!module) {
        return false;
    }
    auto create =
        reinterpret_cast<CreateControlProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, "CreateControl")));
    std::vector<CreateControlProc>& plugins = Plugins();
    const bool known = create && std::find(plugins.begin(), plugins.end(), create) != plugins.end();
    if (!create || known) {
        // The library is either useless or held already by its first load.
        FreeLibrary(module);
        return known;
    }
    plugins.push_back(create);
    return true;
}

const std::vector<CreateControlProc>& CPaintManagerUI::GetPlugins()
{
    return Plugins();
}

} // namespace SkinUI
