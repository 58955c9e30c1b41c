// Collections: CArray, CList and CMap templates and their usual concrete
// forms (CStringArray, CObArray, CPtrArray, CPtrList, CObList, CMapPtrToPtr,
// CMapStringToPtr, CMapStringToString).
#pragma once
#include "Exceptions.h"
#include <cstddef>
#include <map>
#include <new>
#include <utility>
#include <vector>

class CArchive;

// ---------------------------------------------------------------------------
// CArray: a growable array; an index out of range throws
// CInvalidArgException*.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() = default;
    ~CArray() override = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        (void)growBy;
        if (newSize < 0) AfxThrowInvalidArgException();
        m_data.resize(static_cast<size_t>(newSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR i) const { return m_data[Checked(i)]; }
    TYPE& GetAt(INT_PTR i) { return m_data[Checked(i)]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_data[Checked(i)] = v; }
    TYPE& ElementAt(INT_PTR i) { return m_data[Checked(i)]; }
    const TYPE& ElementAt(INT_PTR i) const { return m_data[Checked(i)]; }
    const TYPE& operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    void SetAtGrow(INT_PTR i, ARG_TYPE v)
    {
        if (i < 0) AfxThrowInvalidArgException();
        TYPE value(v);   // v may be an element of this array, moved by the growth
        if (static_cast<size_t>(i) >= m_data.size()) m_data.resize(static_cast<size_t>(i) + 1);
        m_data[static_cast<size_t>(i)] = value;
    }
    INT_PTR Add(ARG_TYPE v)
    {
        m_data.push_back(v);
        return GetSize() - 1;
    }
    INT_PTR Append(const CArray& src)
    {
        INT_PTR old = GetSize();
        std::vector<TYPE> copy(src.m_data);   // appending an array to itself is safe
        m_data.insert(m_data.end(), copy.begin(), copy.end());
        return old;
    }
    void Copy(const CArray& src)
    {
        if (this != &src) m_data = src.m_data;
    }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1)
    {
        if (i < 0 || count < 0) AfxThrowInvalidArgException();
        TYPE value(v);
        if (static_cast<size_t>(i) > m_data.size()) m_data.resize(static_cast<size_t>(i));
        m_data.insert(m_data.begin() + i, static_cast<size_t>(count), value);
    }
    void InsertAt(INT_PTR start, const CArray* src)
    {
        if (!src || start < 0) AfxThrowInvalidArgException();
        std::vector<TYPE> copy(src->m_data);
        if (static_cast<size_t>(start) > m_data.size()) m_data.resize(static_cast<size_t>(start));
        m_data.insert(m_data.begin() + start, copy.begin(), copy.end());
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count < 0 || static_cast<size_t>(i + count) > m_data.size()) AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + i, m_data.begin() + i + count);
    }

    // Iteration for the library's own code.
    typename std::vector<TYPE>::iterator begin() { return m_data.begin(); }
    typename std::vector<TYPE>::iterator end() { return m_data.end(); }
    typename std::vector<TYPE>::const_iterator begin() const { return m_data.begin(); }
    typename std::vector<TYPE>::const_iterator end() const { return m_data.end(); }

protected:
    size_t Checked(INT_PTR i) const
    {
        if (i < 0 || static_cast<size_t>(i) >= m_data.size()) AfxThrowInvalidArgException();
        return static_cast<size_t>(i);
    }
    std::vector<TYPE> m_data;
};

class CLASSLIB_API CStringArray : public CArray<CString, const CString&>
{
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray() = default;
    INT_PTR Add(const wchar_t* text) { return CArray::Add(CString(text)); }
    INT_PTR Add(const CString& text) { return CArray::Add(text); }
    // Count, then each string.
    void Serialize(CArchive& ar) override;
};

class CLASSLIB_API CPtrArray : public CArray<void*, void*>
{
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray() = default;
};

class CLASSLIB_API CObArray : public CArray<CObject*, CObject*>
{
    DECLARE_SERIAL(CObArray)
public:
    CObArray() = default;
    // Count, then each object through a pointer (with its class record).
    void Serialize(CArchive& ar) override;
};

// ---------------------------------------------------------------------------
// CList: a doubly linked list; a POSITION is a node.  Nodes are made in
// blocks of blockSize; a removed node's room serves the next one added, and
// the blocks are given back when the list becomes empty.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };
    // The room of one node: a node, or a link of the chain of free rooms.
    union Room {
        Room* nextFree;
        alignas(Node) unsigned char bytes[sizeof(Node)];
    };
    // A block: the link to the block made before, then its rooms.
    struct Block {
        Block* older;
    };
    static constexpr size_t kRoomsAt = (sizeof(Block) + alignof(Room) - 1) / alignof(Room) * alignof(Room);

public:
    explicit CList(INT_PTR blockSize = 10) : m_blockSize(blockSize > 0 ? blockSize : 10) {}
    ~CList() override { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return Head()->data; }
    const TYPE& GetHead() const { return Head()->data; }
    TYPE& GetTail() { return Tail()->data; }
    const TYPE& GetTail() const { return Tail()->data; }

    TYPE RemoveHead()
    {
        Node* n = Head();
        TYPE v = n->data;
        Unlink(n);
        return v;
    }
    TYPE RemoveTail()
    {
        Node* n = Tail();
        TYPE v = n->data;
        Unlink(n);
        return v;
    }
    POSITION AddHead(ARG_TYPE v) { return InsertNode(nullptr, m_head, v); }
    POSITION AddTail(ARG_TYPE v) { return InsertNode(m_tail, nullptr, v); }
    void AddHead(CList* other)
    {
        std::vector<TYPE> items = other->Items();
        for (auto it = items.rbegin(); it != items.rend(); ++it) AddHead(*it);
    }
    void AddTail(CList* other)
    {
        std::vector<TYPE> items = other->Items();
        for (const TYPE& v : items) AddTail(v);
    }
    void RemoveAll()
    {
        while (m_head) Unlink(m_head);
        FreeBlocks();
    }

    POSITION GetHeadPosition() const { return Pos(m_head); }
    POSITION GetTailPosition() const { return Pos(m_tail); }
    TYPE& GetNext(POSITION& pos)
    {
        Node* n = At(pos);
        pos = Pos(n->next);
        return n->data;
    }
    const TYPE& GetNext(POSITION& pos) const
    {
        Node* n = At(pos);
        pos = Pos(n->next);
        return n->data;
    }
    TYPE& GetPrev(POSITION& pos)
    {
        Node* n = At(pos);
        pos = Pos(n->prev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& pos) const
    {
        Node* n = At(pos);
        pos = Pos(n->prev);
        return n->data;
    }
    TYPE& GetAt(POSITION pos) { return At(pos)->data; }
    const TYPE& GetAt(POSITION pos) const { return At(pos)->data; }
    void SetAt(POSITION pos, ARG_TYPE v) { At(pos)->data = v; }
    void RemoveAt(POSITION pos) { Unlink(At(pos)); }
    POSITION InsertBefore(POSITION pos, ARG_TYPE v)
    {
        if (!pos) return AddHead(v);
        Node* n = At(pos);
        return InsertNode(n->prev, n, v);
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE v)
    {
        if (!pos) return AddTail(v);
        Node* n = At(pos);
        return InsertNode(n, n->next, v);
    }
    POSITION Find(ARG_TYPE v, POSITION startAfter = nullptr) const
    {
        Node* n = startAfter ? At(startAfter)->next : m_head;
        for (; n; n = n->next)
            if (n->data == v) return Pos(n);
        return nullptr;
    }
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= m_count) return nullptr;
        Node* n = m_head;
        while (index-- > 0) n = n->next;
        return Pos(n);
    }

private:
    static POSITION Pos(Node* n) { return reinterpret_cast<POSITION>(n); }
    static Node* At(POSITION pos)
    {
        if (!pos || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
        return reinterpret_cast<Node*>(pos);
    }
    Node* Head() const
    {
        if (!m_head) AfxThrowInvalidArgException();
        return m_head;
    }
    Node* Tail() const
    {
        if (!m_tail) AfxThrowInvalidArgException();
        return m_tail;
    }
    POSITION InsertNode(Node* prev, Node* next, ARG_TYPE v)
    {
        Room* room = TakeRoom();
        Node* n;
        try {
            // static_cast rather than TYPE(v): tools/lifetime-check's
            // parser cannot read this file with the functional cast.
            n = ::new (static_cast<void*>(room->bytes)) Node{next, prev, static_cast<TYPE>(v)};
        } catch (...) {
            GiveRoom(room);
            throw;
        }
        (prev ? prev->next : m_head) = n;
        (next ? next->prev : m_tail) = n;
        ++m_count;
        return Pos(n);
    }
    void Unlink(Node* n)
    {
        (n->prev ? n->prev->next : m_head) = n->next;
        (n->next ? n->next->prev : m_tail) = n->prev;
        n->~Node();
        GiveRoom(reinterpret_cast<Room*>(n));
        --m_count;
        if (m_count == 0) FreeBlocks();
    }
    Room* TakeRoom()
    {
        if (!m_free) {
            static_assert(alignof(Room) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "nodes need no extra alignment");
            const size_t rooms = static_cast<size_t>(m_blockSize);
            char* memory = static_cast<char*>(::operator new(kRoomsAt + rooms * sizeof(Room)));
            Block* block = ::new (static_cast<void*>(memory)) Block;
            block->older = m_blocks;
            m_blocks = block;
            // The rooms are chained last to first, so that they are taken in
            // the order they lie in.
            for (size_t i = rooms; i-- > 0;) {
                Room* room = ::new (static_cast<void*>(memory + kRoomsAt + i * sizeof(Room))) Room;
                room->nextFree = m_free;
                m_free = room;
            }
        }
        Room* room = m_free;
        m_free = room->nextFree;
        return room;
    }
    void GiveRoom(Room* room)
    {
        room = ::new (static_cast<void*>(room)) Room;
        room->nextFree = m_free;
        m_free = room;
    }
    void FreeBlocks()
    {
        while (m_blocks) {
            Block* older = m_blocks->older;
            ::operator delete(m_blocks);
            m_blocks = older;
        }
        m_free = nullptr;
    }
    std::vector<TYPE> Items() const
    {
        std::vector<TYPE> out;
        for (Node* n = m_head; n; n = n->next) out.push_back(n->data);
        return out;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
    INT_PTR m_blockSize;
    Room* m_free = nullptr;
    Block* m_blocks = nullptr;
};

class CLASSLIB_API CPtrList : public CList<void*, void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR blockSize = 10) : CList(blockSize) {}
};

class CLASSLIB_API CObList : public CList<CObject*, CObject*>
{
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR blockSize = 10) : CList(blockSize) {}
    void Serialize(CArchive& ar) override;
};

// ---------------------------------------------------------------------------
// CMap: a map from keys to values, iterated in the order of insertion.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
    struct Assoc {
        Assoc* next;
        Assoc* prev;
        KEY key;
        VALUE value;
    };

public:
    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }
    ~CMap() override { RemoveAll(); }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;

    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_index.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_index.empty(); }

    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        auto it = m_index.find(KEY(key));
        if (it == m_index.end()) return FALSE;
        value = it->second->value;
        return TRUE;
    }
    VALUE& operator[](ARG_KEY key)
    {
        KEY k(key);
        auto it = m_index.find(k);
        if (it != m_index.end()) return it->second->value;
        Assoc* a = new Assoc{nullptr, m_tail, k, VALUE()};
        (m_tail ? m_tail->next : m_head) = a;
        m_tail = a;
        m_index.emplace(k, a);
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
    BOOL RemoveKey(ARG_KEY key)
    {
        auto it = m_index.find(KEY(key));
        if (it == m_index.end()) return FALSE;
        Assoc* a = it->second;
        m_index.erase(it);
        (a->prev ? a->prev->next : m_head) = a->next;
        (a->next ? a->next->prev : m_tail) = a->prev;
        delete a;
        return TRUE;
    }
    void RemoveAll()
    {
        m_index.clear();
        while (m_head) {
            Assoc* next = m_head->next;
            delete m_head;
            m_head = next;
        }
        m_tail = nullptr;
    }
    POSITION GetStartPosition() const { return m_head ? reinterpret_cast<POSITION>(m_head) : nullptr; }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        if (!pos || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
        Assoc* a = reinterpret_cast<Assoc*>(pos);
        key = a->key;
        value = a->value;
        pos = reinterpret_cast<POSITION>(a->next);
    }

private:
    std::map<KEY, Assoc*> m_index;
    Assoc* m_head = nullptr;
    Assoc* m_tail = nullptr;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*>
{
public:
    explicit CMapPtrToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};

class CMapStringToPtr : public CMap<CString, const wchar_t*, void*, void*>
{
public:
    explicit CMapStringToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
};

class CMapStringToString : public CMap<CString, const wchar_t*, CString, const wchar_t*>
{
public:
    explicit CMapStringToString(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
