// Temporary objects of the handle maps (inside the library; not part of its
// interface).  FromHandle makes a temporary object for a handle that has no
// object of its own; the idle pass frees them.
//
// Levels.  A modal loop (a modal dialog) opens a level of its own: its idle
// pass frees only the temporary objects made while it runs, so those its
// caller got before the loop stay valid across the loop.  When the loop
// ends, the objects of its level join the level below (an object for a
// handle that the level below already has is freed).
#pragma once
#include "ClassLibDefs.h"
#include <unordered_map>
#include <vector>

class ClTempMapBase
{
public:
    virtual ~ClTempMapBase() = default;
    virtual void PushLevel() = 0;
    virtual void PopLevel() = 0;
    virtual void FreeLevel() = 0; // frees the objects of the innermost level
    virtual size_t Count() const = 0;

protected:
    void Join(); // among the thread's maps, with as many levels as the thread has open
};

// Every map of the calling thread.
void ClPushTempLevel();
void ClPopTempLevel();
void ClFreeTempLevel();

template <class Handle, class Object>
class ClTempMap : public ClTempMapBase
{
public:
    // `release` forgets the object's handle (never destroying it) and
    // deletes the object.
    explicit ClTempMap(void (*release)(Object*)) : m_release(release) { Join(); }

    Object* Find(Handle handle) const
    {
        for (auto level = m_levels.rbegin(); level != m_levels.rend(); ++level) {
            auto it = level->find(handle);
            if (it != level->end()) return it->second;
        }
        return nullptr;
    }
    void Add(Handle handle, Object* object) { m_levels.back()[handle] = object; }

    void PushLevel() override { m_levels.emplace_back(); }
    void PopLevel() override
    {
        if (m_levels.size() < 2) return;
        auto top = std::move(m_levels.back());
        m_levels.pop_back();
        auto& below = m_levels.back();
        for (auto& entry : top) {
            if (below.count(entry.first))
                m_release(entry.second);
            else
                below[entry.first] = entry.second;
        }
    }
    void FreeLevel() override
    {
        auto level = std::move(m_levels.back());
        m_levels.back().clear();
        for (auto& entry : level) m_release(entry.second);
    }

    size_t Count() const override
    {
        size_t n = 0;
        for (auto& level : m_levels) n += level.size();
        return n;
    }

private:
    void (*m_release)(Object*);
    std::vector<std::unordered_map<Handle, Object*>> m_levels{1};
};
