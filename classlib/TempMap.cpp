#include "TempMap.h"
#include "MessageLoop.h"

namespace {

struct Registry {
    std::vector<ClTempMapBase*> maps;
    int depth = 0; // levels open above the first
};

Registry& ThreadRegistry()
{
    static thread_local Registry* registry = nullptr;
    if (!registry) registry = new Registry; // lives as long as the thread, as its maps do
    return *registry;
}

} // namespace

void ClTempMapBase::Join()
{
    Registry& r = ThreadRegistry();
    r.maps.push_back(this);
    for (int i = 0; i < r.depth; ++i) PushLevel();
}

void ClPushTempLevel()
{
    Registry& r = ThreadRegistry();
    ++r.depth;
    for (ClTempMapBase* map : r.maps) map->PushLevel();
}

void ClPopTempLevel()
{
    Registry& r = ThreadRegistry();
    if (r.depth == 0) return;
    --r.depth;
    for (ClTempMapBase* map : r.maps) map->PopLevel();
}

void ClFreeTempLevel()
{
    for (ClTempMapBase* map : ThreadRegistry().maps) map->FreeLevel();
}

int ClTemporaryObjectCount()
{
    size_t n = 0;
    for (ClTempMapBase* map : ThreadRegistry().maps) n += map->Count();
    return static_cast<int>(n);
}
