#pragma once
#include "addin/core/AddIn.h"
#include "addin/core/AddInConnection.h"

// An add-in of the core linked into the test program, made through its own
// class factory, so tests reach its C++ side. Disconnected and released by
// the destructor.
class LinkedAddIn {
public:
    LinkedAddIn();
    ~LinkedAddIn();
    LinkedAddIn(const LinkedAddIn&) = delete;
    LinkedAddIn& operator=(const LinkedAddIn&) = delete;

    AddIn* addIn = nullptr;
    AddInConnection* connection = nullptr;
};
