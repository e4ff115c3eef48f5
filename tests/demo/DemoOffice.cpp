// demo_office.exe <out folder> <step>...: the stand-in PowerPoint of the
// demo, over the installation that the demo's install step left in the
// prefix. Office loads the add-ins of its registry entries, as PowerPoint
// would, and PowerPoint stays open through the steps, in order:
//   startup  the loader add-in hands over to the add-in, which starts the
//            plug-in kernel in the stand-in .NET runtime; writes ribbon.xml
//            (the customUI the add-in gave Office), startup-office.txt (the
//            add-ins' calls from Office) and startup-clr.txt (the runtime's).
//   show     a slide show through every slide and build, the content's
//            effects showing their content (show-<n>.png per slide), the
//            trampoline's verb reaching the show's session, and its end.
//   update   the update cycle against the loopback update service, which
//            runs from the start: the check's download, PowerPoint started
//            again and the update add-in installing it; writes the
//            installed versions before and after, ready.dat and result.dat.
// After the last step it waits until the file "close.request" appears in the
// out folder (the demo script's other steps run meanwhile), or ten minutes
// have passed, then shuts PowerPoint down. Each finished step appends "<step> done: <what>" or
// "<step> failed: <why>" to office-progress.txt in the out folder; the first
// failure ends the program with exit code 1.
#include "DemoOfficeSession.h"

#include <stdio.h>
#include <string>

namespace {

class Progress {
public:
    explicit Progress(const std::wstring& path) : m_file(_wfopen(path.c_str(), L"wb")) {}
    ~Progress()
    {
        if (m_file)
            fclose(m_file);
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Records the outcome; true when the step worked.
    bool Report(const std::wstring& step, const DemoStepResult& result)
    {
        std::string line = std::string(step.begin(), step.end()) +
                           (result.failure.empty() ? " done: " + result.summary : " failed: " + result.failure);
        printf("%s\n", line.c_str());
        fflush(stdout);
        if (m_file) {
            fprintf(m_file, "%s\n", line.c_str());
            fflush(m_file);
        }
        return result.failure.empty();
    }

private:
    FILE* m_file;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: demo_office <out folder> startup [show] [update]\n");
        return 2;
    }
    const std::wstring out = argv[1];
    Progress progress(out + L"\\office-progress.txt");
    DemoOfficeSession session(out);
    for (int i = 2; i < argc; ++i) {
        // The check at start-up needs the update service running.
        if (std::wstring(argv[i]) == L"update")
            session.OfferUpdate();
    }
    for (int i = 2; i < argc; ++i) {
        const std::wstring step = argv[i];
        DemoStepResult result;
        if (step == L"startup")
            result = session.StartUp();
        else if (step == L"show")
            result = session.Show();
        else if (step == L"update")
            result = session.Update();
        else
            result.failure = "no such step";
        if (!progress.Report(step, result)) {
            session.ShutDown();
            return 1;
        }
    }
    session.WaitForFile(out + L"\\close.request", 10 * 60 * 1000);
    return progress.Report(L"shutdown", session.ShutDown()) ? 0 : 1;
}
