#pragma once

// Root of the library's exception classes. Library functions answer with
// results and throw nothing of their own; these objects exist so that crash
// guards can tell translated processor faults from everything else.
class MKException {
public:
    virtual ~MKException() = default;
    virtual const wchar_t* Description() const;
};
