#pragma once
#include "base/MKString.h"

#include <unknwn.h>
#include <stdint.h>

class EffectDataRecord;
class Plugin;
struct IPPTPluginLoader;
struct KernelEventSink;

// What a plug-in record needs of the add-in core that owns it.
class PluginHost {
public:
    // The loader assembly's loader object; null before the runtime is up.
    virtual IPPTPluginLoader* GetLoader() = 0;
    // True for the first plug-in of the core's list, the kernel.
    virtual bool IsKernel(const Plugin* plugin) = 0;
    // The object handed to the kernel's start (the kernel host object).
    virtual IUnknown* GetKernelHost() = 0;
    // Keeps the kernel's event interface, dropping any earlier one.
    virtual void SetKernelEvents(KernelEventSink* events) = 0;
    // A new plug-in API object for the plug-in (one reference), or null.
    virtual IUnknown* MakeApiObject(Plugin* plugin) = 0;
    // Clears the API object's link to its plug-in.
    virtual void DetachApiObject(IUnknown* api) = 0;

    // The core's table of effect types: registration answers the type's
    // index (from 1) and declares its usage id to the usage counters.
    virtual int RegisterEffectType(EffectDataRecord* record) = 0;
    virtual void UnregisterEffectType(EffectDataRecord* record) = 0;
    virtual EffectDataRecord* FindEffectTypeByContentType(const MKString& contentType) = 0;
    virtual EffectDataRecord* FindEffectTypeByUsageId(uint32_t usageId) = 0;
    // The type of an index from 1; null outside the table or for a type
    // unregistered since.
    virtual EffectDataRecord* FindEffectTypeByIndex(int index) = 0;

protected:
    ~PluginHost() = default;
};
