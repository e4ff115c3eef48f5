#pragma once
#include "base/MKString.h"
#include "hostapi/PowerPointInterfaces.h"

class AddIn;
class AddInCore;
class MKTextBuffer;

// The diagnostic system report the plug-in kernel asks for: the machine, the
// Office product and its languages, .NET, Direct3D, the players, memory and
// displays, PowerPoint's COM add-ins, the add-in's file versions and the
// plug-ins. Missing facts are left out or shown as their failure; nothing
// fails outward. PowerPoint's user-interface thread only.
MKString WriteSystemReport(AddIn* addIn);

// The report's tables, each written as it stands in the report.
// "No Application" without PowerPoint.
void WriteComAddInTable(PowerPoint::Application* application, MKTextBuffer& out);
// Nothing without an add-in.
void WriteFileVersionLines(AddIn* addIn, MKTextBuffer& out);
// "<file name>: <file version>" of the add-in library, the update add-in
// library and the updater program of an installation folder, for those whose
// version resource reads.
void WriteInstalledFileVersions(const MKString& folder, MKTextBuffer& out);
// "No AddIn pointer" without the plug-in manager.
void WriteAddOnTable(const AddInCore* core, MKTextBuffer& out);
// The in-process server of a class id as the report shows it: beside its
// manifest, or the CodeBase of a .NET class served by mscoree.dll.
MKString FindInprocServerPath(const MKString& classId);
