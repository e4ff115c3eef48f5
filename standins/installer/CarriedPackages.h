#pragma once
#include <string>
#include <vector>

// The product's setup packages that the setup program carries as resources
// "BIN" 1000 onwards (one for each id until the first that is missing).
enum class CarriedResult { kOk, kNone, kDamaged, kNotWritten };

// Writes each carried package into the folder and checks it with the update
// engine's package reader: it opens, its header carries a SHA-1 signature
// that matches, and every item has data and a SHA-1 digest that matches.
// The written files are listed in `paths` on success; on any failure none
// of them is left.
CarriedResult UnpackCarriedPackages(const std::wstring& setupPath, const std::wstring& folder,
                                    std::vector<std::wstring>& paths);

// Installs the checked packages into the installation folder the way the
// update engine installs a downloaded update: the packages go to the updater
// folder with a "ready.dat" for an installation (update type 1), whose
// version is the first package's, the product's own; the update installer
// extracts and commits their items, keeps the packages in "setups" and
// records them in "plugins.dat" and "history.dat" (method 4, the installer).
// Whatever is left over is deleted; false when the installation failed (it
// is undone).
bool InstallCarriedPackages(const std::vector<std::wstring>& paths, const std::wstring& installationFolder);
