#pragma once
#include <string>

// Installing the product as the installer program does: the installation
// folder, then the COM servers registered. Every function runs
// on the calling thread and waits for the programs it starts.

// "Vistello" in the program-files folder.
std::wstring DefaultInstallFolder();

// A new empty folder under the user's temporary folder; empty when none
// could be made.
std::wstring MakeScratchFolder();

// True when the folder holds the add-in and its companions.
bool HoldsProduct(const std::wstring& folder);

// Registers the loader add-in (its class and its machine-wide Office entry),
// the add-in's and the update add-in's classes through regsvr32, and the
// trampoline's local server through its own switch. The add-in gets no
// Office entry of its own: the loader writes it at the first start. The
// update add-in's Office entry is written by the add-in only while an update
// runs. False when one of them fails.
bool RegisterProduct(const std::wstring& folder);
