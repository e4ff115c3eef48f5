#pragma once
#include "base/MKHashMap.h"
#include "base/MKString.h"

class ClrRibbonHandler;

// A plug-in's ribbon control handlers by the ids made for them; owns them.
class ControlHandlerTable {
public:
    ControlHandlerTable() = default;
    ~ControlHandlerTable();
    ControlHandlerTable(const ControlHandlerTable&) = delete;
    ControlHandlerTable& operator=(const ControlHandlerTable&) = delete;

    // Takes the handler over and stores it under a new id: "_vqz_" and a
    // fresh GUID as 32 lower-case hexadecimal digits. False (the handler
    // deleted) when memory runs out.
    bool Register(ClrRibbonHandler* handler, MKString& id);
    // Deletes the handler of the id; unknown ids are ignored.
    void Unregister(const MKString& id);
    void Clear();
    ClrRibbonHandler* Find(const MKString& id) const;

private:
    MKHashMap m_handlers;
};
