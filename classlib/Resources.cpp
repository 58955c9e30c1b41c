#include "Resources.h"
#include "App.h"
#include <algorithm>
#include <vector>

namespace {

std::vector<HINSTANCE>& AddedModules()
{
    static std::vector<HINSTANCE>* modules = new std::vector<HINSTANCE>;
    return *modules;
}

HINSTANCE g_resource = nullptr;

} // namespace

HINSTANCE AfxGetResourceHandle() { return g_resource ? g_resource : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE resource) { g_resource = resource; }

void AfxAddResourceModule(HINSTANCE module)
{
    auto& list = AddedModules();
    if (module && std::find(list.begin(), list.end(), module) == list.end()) list.push_back(module);
}

void AfxRemoveResourceModule(HINSTANCE module)
{
    auto& list = AddedModules();
    list.erase(std::remove(list.begin(), list.end(), module), list.end());
}

int ClResourceSearchOrder(HINSTANCE caller, HINSTANCE* modules, int max)
{
    std::vector<HINSTANCE> order{caller, AfxGetResourceHandle(), ::GetModuleHandleW(nullptr)};
    for (HINSTANCE m : AddedModules()) order.push_back(m);
    int n = 0;
    for (HINSTANCE m : order) {
        if (!m || std::find(modules, modules + n, m) != modules + n) continue;
        if (n == max) break;
        modules[n++] = m;
    }
    return n;
}

HINSTANCE AfxFindResourceHandle(const wchar_t* name, const wchar_t* type, HINSTANCE caller)
{
    HINSTANCE order[32];
    int n = ClResourceSearchOrder(caller, order, 32);
    for (int i = 0; i < n; ++i)
        if (::FindResourceW(order[i], name, type)) return order[i];
    return nullptr;
}
