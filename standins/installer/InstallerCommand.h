#pragma once
#include <string>

// What the installer program was asked to do. The setup program starts it
// with "/install" and its own path followed by the caller's options
// ("/silent", "/from_updater", "/source" and a value); the add-in starts it
// with the switches "/update" and "/path" followed by the installation folder.
struct InstallerCommand {
    enum class Kind { kInvalid, kInstall, kUpdate };
    Kind kind = Kind::kInvalid;
    std::wstring setupPath;  // after "/install"
    std::wstring source;     // after "/source": the caller's tag, passed on
    std::wstring folder;     // after "/path": the installation to refresh
    bool silent = false;
    bool fromUpdater = false;
};

// Switches are matched without regard to case; a switch that needs a value
// and has none, an unknown switch or neither "/install" nor "/update" with
// "/path" gives kInvalid.
InstallerCommand ParseInstallerCommand(const std::wstring& commandLine);
