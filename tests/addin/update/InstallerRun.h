#pragma once
#include "base/MKString.h"

#include <functional>
#include <string>

// The steps of one installation by the update engine, in the add-in's order:
// 1 Prepare, 2 Verify, 3 PlanBackups, 4 InstallSetups, 5 ApplyBackups,
// 6 CommitStaged, 7 RecordInstallation, 8 DeleteAll. afterStep is called after
// each step that succeeded; the answer is the last step that succeeded.
int RunInstallation(const MKString& folder, const std::function<void(int step)>& afterStep = nullptr);

// The helper process's installation. argument: "step:K" (killed after step K),
// "move:M" or "write:M" (killed at the M-th file move or write). Exits 0 when
// the installation completed before the kill.
int RunInstallerChild(const std::wstring& folder, const std::wstring& argument);

enum { kInstallationSteps = 8, kKilledExitCode = 77 };
