#include "addin/core/SystemReport.h"

#include "addin/core/AddIn.h"
#include "addin/core/AddInCore.h"
#include "addin/core/EnvironmentInfo.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/PluginPackage.h"
#include "addin/hosting/PlayerVersionCache.h"
#include "addin/update/Preferences.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKBstrHolder.h"
#include "base/MKComHolder.h"
#include "base/MKDisplayReport.h"
#include "base/MKFile.h"
#include "base/MKFileVersionInfo.h"
#include "base/MKGuid.h"
#include "base/MKOpenRegKey.h"
#include "base/MKPath.h"
#include "base/MKRegKey.h"
#include "base/MKSystemInfo.h"
#include "base/MKTextBuffer.h"
#include "base/MKVersionLibrary.h"

namespace {

const wchar_t kNullGuid[] = L"{00000000-0000-0000-0000-000000000000}";

// A property's text, or its failure as "(%08x)".
template <class Read>
MKString ReadText(Read read)
{
    MKBstrHolder text;
    HRESULT hr = read(text.Receive());
    if (FAILED(hr))
        return MKString::FromFormat(L"(%08x)", static_cast<unsigned>(hr));
    return text.ToString();
}

MKString FileVersionText(const MKString& path, MKVersionLibrary& library)
{
    MKFileVersionInfo info(path);
    return info.Read(&library) ? info.GetFileVersion().ToString() : MKString();
}

void WriteComAddIn(Office::COMAddIns* addIns, long index, MKVersionLibrary& library, MKTextBuffer& out)
{
    VARIANT item;
    VariantInit(&item);
    item.vt = VT_I4;
    item.lVal = index;
    Office::COMAddIn* raw = nullptr;
    HRESULT hr = addIns->Item(&item, &raw);
    if (FAILED(hr) || !raw) {
        out.AppendFormat(L"%*dItem() failed (0x%08x)\n", -4, static_cast<int>(index), static_cast<unsigned>(hr));
        return;
    }
    MKComHolder<Office::COMAddIn> addIn;
    addIn.Attach(raw);
    MKString progId = ReadText([&](BSTR* text) { return addIn->get_ProgId(text); });
    VARIANT_BOOL connected = VARIANT_FALSE;
    hr = addIn->get_Connect(&connected);
    MKString connectedText = FAILED(hr) ? MKString::FromFormat(L"(%08x)", static_cast<unsigned>(hr))
                                        : MKString(connected ? L"   Yes" : L"");
    MKString description = ReadText([&](BSTR* text) { return addIn->get_Description(text); });
    MKString guid = ReadText([&](BSTR* text) { return addIn->get_Guid(text); });
    if (guid == MKString(kNullGuid))
        guid = MKString();
    MKString classId;
    MKString server;
    MKString version;
    if (!progId.IsEmpty()) {
        MKRegKey key = MKOpenRegKey::ClassesRoot().OpenSubKey(progId + MKString(L"\\CLSID"), false);
        key.QueryString(nullptr, classId);
    }
    if (!classId.IsEmpty())
        server = FindInprocServerPath(classId);
    if (!server.IsEmpty())
        version = FileVersionText(server, library);
    out.AppendFormat(L"%*d%*s%*s%*s%*s%*s%*s%s\n", -4, static_cast<int>(index), -10, connectedText.GetText(), -25,
                     progId.GetText(), -39, guid.GetText(), -37, description.GetText(), -39, classId.GetText(), -15,
                     version.GetText(), server.GetText());
}

}  // namespace

MKString FindInprocServerPath(const MKString& classId)
{
    MKRegKey key = MKOpenRegKey::ClassesRoot().OpenSubKey(
        MKString(L"CLSID\\") + classId + MKString(L"\\InprocServer32"), false);
    if (!key)
        return MKString();
    MKString location;
    MKString name;
    if (key.QueryString(L"ManifestLocation", location) && key.QueryString(L"ManifestName", name)) {
        MKString path = MKPathCombine(location, name);
        // A library registered through its manifest lies beside it.
        if (path.EndsWith(L".manifest", true)) {
            MKString library = MKPathCombine(MKPathDirectory(path), MKPathStem(path));
            if (MKFileExists(library))
                path = library;
        }
        return path;
    }
    MKString path;
    if (!key.QueryString(nullptr, path))
        return MKString();
    MKString codeBase;
    if (path.ToLower() == MKString(L"mscoree.dll") && key.QueryString(L"CodeBase", codeBase))
        return codeBase;
    return path;
}

void WriteComAddInTable(PowerPoint::Application* application, MKTextBuffer& out)
{
    if (!application) {
        out.AppendText(L"No Application\n");
        return;
    }
    Office::COMAddIns* raw = nullptr;
    HRESULT hr = application->get_COMAddIns(&raw);
    if (FAILED(hr) || !raw) {
        out.AppendFormat(L"Unable to get COM Addins (0x%08x)\n", static_cast<unsigned>(hr));
        return;
    }
    MKComHolder<Office::COMAddIns> addIns;
    addIns.Attach(raw);
    long count = 0;
    hr = addIns->get_Count(&count);
    if (FAILED(hr)) {
        out.AppendFormat(L"Unable to get COM Addins count (0x%08x)\n", static_cast<unsigned>(hr));
        return;
    }
    out.AppendText(L"#   Connected ProgId                   Guid                                   Description      "
                   L"                    CLSID                                  Version        InProcServer32\n"
                   L"--- --------- ------                   ----                                   -----------      "
                   L"                    -----                                  -------        --------------\n");
    // One load of version.dll for the whole table.
    MKVersionLibrary library;
    library.Load();
    for (long i = 1; i <= count; ++i)
        WriteComAddIn(addIns.Get(), i, library, out);
}

void WriteFileVersionLines(AddIn* addIn, MKTextBuffer& out)
{
    if (!addIn)
        return;
    MKVersion kernel = addIn->GetCore() ? addIn->GetCore()->GetKernelVersion() : MKVersion();
    out.AppendFormat(L"%s Version %s\n", L"Vistello", kernel.ToString().GetText());
    MKGuid installation;
    if (Preferences* preferences = addIn->GetPreferences())
        installation = preferences->GetInstallationGuid();
    out.AppendFormat(L"Guid: {%s}\n", installation.FormatUpper().GetText());
    out.AppendFormat(L"Installation Directory: %s\n", addIn->GetModuleFolder().GetText());
    WriteInstalledFileVersions(addIn->GetModuleFolder(), out);
}

void WriteInstalledFileVersions(const MKString& folder, MKTextBuffer& out)
{
    const MKString paths[] = {GetAddInDllPath(folder), GetUpdaterAddInDllPath(folder), GetUpdaterExePath(folder)};
    for (const MKString& path : paths) {
        MKFileVersionInfo file(path);
        if (file.Read())
            out.AppendFormat(L"%s: %s\n", MKPathFileName(path).GetText(), file.GetFileVersion().ToString().GetText());
    }
}

void WriteAddOnTable(const AddInCore* core, MKTextBuffer& out)
{
    if (!core) {
        out.AppendText(L"No AddIn pointer\n");
        return;
    }
    out.AppendText(L"#    Name                          Version            Guid                                   "
                   L"InternalName\n"
                   L"---  ----                          -------            ----                                   "
                   L"------------\n");
    for (int i = 0; i < core->GetPluginCount(); ++i) {
        const Plugin* plugin = core->GetPluginAt(i);
        const PluginPackage* package = plugin->GetPackage();
        MKString version = package ? package->GetVersion().ToString() : MKString();
        MKString internalName = package ? package->GetName() : MKString();
        out.AppendFormat(L"#%*d%*s%*s{%s} %s\n", -4, i + 1, -30, plugin->GetName().GetText(), -19, version.GetText(),
                         MKGuid(plugin->GetGuid()).FormatLower().GetText(), internalName.GetText());
    }
}

MKString WriteSystemReport(AddIn* addIn)
{
    MKTextBuffer report;
    MKSystemInfo system;
    system.Collect();
    report.AppendFormat(L"Operating System: %s\n", system.osName.GetText());
    const EnvironmentInfo* environment = addIn ? addIn->GetEnvironmentInfo() : nullptr;
    if (environment)
        environment->WriteLanguageLines(report);
    system.WriteProcessor(report);
    if (environment) {
        environment->WriteProductLines(report);
        environment->WriteNetLine(report);
    }
    report.AppendFormat(L"Direct3D 9 version %s\n", system.direct3d9Version.ToString().GetText());
    if (PlayerVersionCache* players = addIn ? addIn->GetPlayerVersionCache() : nullptr)
        players->WriteReport(report);
    system.WriteMemory(report);
    MKWriteDisplays(report);
    report.AppendText(L"\n");

    MKTextBuffer table;
    MKComHolder<PowerPoint::Application> application;
    if (addIn)
        addIn->GetApplication(application);
    WriteComAddInTable(application.Get(), table);
    report.AppendText(L"PowerPoint COM Add-Ins:\n-----------------------\n");
    report.AppendBuffer(table);
    report.AppendText(L"\n");

    table.Clear();
    WriteFileVersionLines(addIn, table);
    report.AppendText(L"File Versions:\n--------------\n");
    report.AppendBuffer(table);
    report.AppendText(L"\n");

    table.Clear();
    WriteAddOnTable(addIn ? addIn->GetCore() : nullptr, table);
    report.AppendText(L"Add-ons:\n-----------\n");
    report.AppendBuffer(table);
    report.AppendText(L"\n");
    return report.ToString();
}
