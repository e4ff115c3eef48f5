#pragma once
#include "addin/update/FileCalls.h"

// Installs file calls that pass through to the system but fail the k-th call
// of one kind (counted from 1; a short write for writeFile), and counts the
// calls of every kind. Restores the system's calls when it goes.
class FaultyFileCalls {
public:
    enum Kind { Move, Delete, CreateFolder, Write, KindCount };

    FaultyFileCalls(Kind kind, int failAt);
    ~FaultyFileCalls();
    FaultyFileCalls(const FaultyFileCalls&) = delete;
    FaultyFileCalls& operator=(const FaultyFileCalls&) = delete;

    int Count(Kind kind) const;
    bool Failed() const;
};
