#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace standin {

// One COM add-in entry of PowerPoint under the Office add-in keys
// (Software\Microsoft\Office\PowerPoint\Addins\<ProgID>).
struct OfficeAddInEntry {
    std::wstring progId;
    std::wstring friendlyName;
    std::wstring description;
    DWORD loadBehavior = 0;
    bool machine = false;
};

// The entries as Office reads them: the current user's first, then the
// machine's whose ProgID the user has not registered.
std::vector<OfficeAddInEntry> ReadOfficeAddInEntries();

// The class id text ("{...}") registered for the ProgID, empty when unknown.
std::wstring ClassIdTextOfProgId(const std::wstring& progId);

}  // namespace standin
