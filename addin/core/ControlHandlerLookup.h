#pragma once

class MKString;
class RibbonControlHandler;

// The handlers that plug-ins registered for ribbon control ids; the plug-in
// manager keeps them. Handlers stay their plug-in's.
class ControlHandlerLookup {
public:
    // The first plug-in's handler for the id, or null.
    virtual RibbonControlHandler* FindControlHandler(const MKString& id) = 0;

protected:
    ~ControlHandlerLookup() = default;
};
