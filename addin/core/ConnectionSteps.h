#pragma once

// The add-in's own steps in the life of an Office connection, run by the
// connection: the start-up sequence once per connection, before PowerPoint's
// application events are advised, and the shut-down steps before they are
// unadvised (these may run more than once per connection and tolerate it).
// PowerPoint's user-interface thread only.
class ConnectionSteps {
public:
    // True when the plug-in manager started: only then are PowerPoint's
    // application events advised.
    virtual bool RunStartup() = 0;
    virtual void Shutdown() = 0;

protected:
    ~ConnectionSteps() = default;
};
