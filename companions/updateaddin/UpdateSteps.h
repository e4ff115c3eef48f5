#pragma once

// What the file-access waiter drives: the steps of one update, run on
// PowerPoint's user-interface thread from the waiter's window.
class UpdateSteps {
public:
    // Disconnects the main add-in; false ends the update (already reported).
    virtual bool StepReleaseMainAddIn() = 0;
    // Tries to move the new files into place; false while a file is still in
    // use (the next tick tries again), true once the update has ended.
    virtual bool StepInstallFiles() = 0;
    // The files stayed in use for longer than the timeout.
    virtual void StepTimeout() = 0;
    // The main add-in's library has left the process: only from then on can
    // its files be free, and only then does the timeout start to run.
    virtual bool IsMainAddInReleased() = 0;

protected:
    ~UpdateSteps() = default;
};
