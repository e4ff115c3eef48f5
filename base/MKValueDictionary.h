#pragma once
#include "base/MKIntHashMap.h"
#include "base/MKValue.h"

// Code 55: nodes by 32-bit key, each held with one reference. Iteration
// (through GetMap) goes in slot order; see MKIntHashMap.
class MKValueDictionary : public MKValue {
public:
    MKValueDictionary() : MKValue(MKValueCodeDictionary) {}

    // Stores the node with a reference of its own (the caller keeps its own),
    // replacing and releasing an older node of the key. False for a null node or
    // when memory runs out.
    bool Set(uint32_t key, MKValue* node) { return m_map.Set(key, node); }
    // A null node removes the key.
    bool SetOrRemove(uint32_t key, MKValue* node);
    bool Has(uint32_t key) const { return m_map.Find(key) >= 0; }
    // The node without a reference taken (the dictionary keeps it alive), or null.
    MKValue* Get(uint32_t key) const { return m_map.Lookup(key); }
    bool Remove(uint32_t key) { return m_map.Remove(key); }
    int GetCount() const { return m_map.GetCount(); }

    const MKIntHashMap& GetMap() const { return m_map; }
    MKIntHashMap& GetMap() { return m_map; }

private:
    MKIntHashMap m_map;
};
