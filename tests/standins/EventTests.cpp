// The Application's connection point and the application events as sinks
// receive them.
#include "StandInTestSupport.h"
#include "fixtures/ComScope.h"
#include "fixtures/VariantArgs.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/EventArgumentObjects.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"

#include <gtest/gtest.h>
#include <olectl.h>

using standin::PowerPointHost;

namespace {

// Answers IUnknown only.
class PlainObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

class EventTest : public ::testing::Test {
protected:
    // The first connection point, found as the add-in finds it.
    IConnectionPoint* FirstPoint()
    {
        IConnectionPointContainer* container = nullptr;
        EXPECT_EQ(host.App().QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)),
                  S_OK);
        IEnumConnectionPoints* points = nullptr;
        EXPECT_EQ(container->EnumConnectionPoints(&points), S_OK);
        container->Release();
        points->Reset();
        IConnectionPoint* found[256] = {};
        ULONG fetched = 0;
        EXPECT_EQ(points->Next(256, found, &fetched), S_FALSE);
        EXPECT_EQ(fetched, 1u);
        points->Release();
        return found[0];
    }

    ComScope com;
    PowerPointHost host{L"14.0"};
};

TEST_F(EventTest, TheFirstConnectionPointCarriesTheApplicationEvents)
{
    IConnectionPoint* point = FirstPoint();
    ASSERT_NE(point, nullptr);
    IID iid{};
    EXPECT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_EQ(iid, PowerPoint::IID_EApplication);

    EventRecorder sink;
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    standin::PresentationObject* presentation = host.App().AddPresentation(L"Events.pptx");
    host.App().Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(presentation)});
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].id, PowerPoint::DISPID_PresentationOpen);
    EXPECT_EQ(sink.records[0].types, std::vector<VARTYPE>{VT_DISPATCH});

    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    host.App().Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(presentation)});
    EXPECT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(sink.References(), 1u);

    PlainObject plain;
    EXPECT_EQ(point->Advise(&plain, &cookie), CONNECT_E_CANNOTCONNECT);
    point->Release();

    IConnectionPointContainer* container = nullptr;
    host.App().QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    IConnectionPoint* found = nullptr;
    EXPECT_EQ(container->FindConnectionPoint(PowerPoint::IID_EApplication, &found), S_OK);
    found->Release();
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &found), CONNECT_E_NOCONNECTION);
    container->Release();
}

TEST_F(EventTest, ArgumentsArriveLastFirstAndByReferenceFlagsComeBack)
{
    IConnectionPoint* point = FirstPoint();
    EventRecorder sink;
    sink.onEvent = [](DISPID, DISPPARAMS* params) {
        // The cancel flag is the last argument, so the first in rgvarg.
        if (params->cArgs == 2 && params->rgvarg[0].vt == (VT_BYREF | VT_BOOL))
            *params->rgvarg[0].pboolVal = VARIANT_TRUE;
    };
    DWORD cookie = 0;
    point->Advise(&sink, &cookie);
    standin::PresentationObject* presentation = host.App().AddPresentation(L"Flag.pptx");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT flag;
    VariantInit(&flag);
    flag.vt = VT_BYREF | VT_BOOL;
    flag.pboolVal = &cancel;
    host.App().Raise(PowerPoint::DISPID_PresentationBeforeSave, {DispatchArg(presentation), flag});
    EXPECT_EQ(cancel, VARIANT_TRUE);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].types, (std::vector<VARTYPE>{VT_DISPATCH, VT_BYREF | VT_BOOL}));
    point->Unadvise(cookie);
    point->Release();
}

TEST_F(EventTest, EventsNestAndSinksMayLeaveWhileAnEventRuns)
{
    IConnectionPoint* point = FirstPoint();
    EventRecorder first;
    EventRecorder second;
    DWORD firstCookie = 0;
    DWORD secondCookie = 0;
    point->Advise(&first, &firstCookie);
    point->Advise(&second, &secondCookie);
    standin::PresentationObject* presentation = host.App().AddPresentation(L"Nest.pptx");
    first.onEvent = [&](DISPID id, DISPPARAMS*) {
        if (id == PowerPoint::DISPID_PresentationOpen) {
            host.App().Raise(PowerPoint::DISPID_PresentationSave, {DispatchArg(presentation)});
            point->Unadvise(secondCookie);
        }
    };
    second.answer = DISP_E_BADVARTYPE;
    std::vector<HRESULT> answers =
        host.App().Raise(PowerPoint::DISPID_PresentationOpen, {DispatchArg(presentation)});

    // The outer event still reaches the second sink, which left inside it.
    EXPECT_EQ(first.Ids(), (std::vector<DISPID>{PowerPoint::DISPID_PresentationOpen,
                                                PowerPoint::DISPID_PresentationSave}));
    EXPECT_EQ(second.Ids(), (std::vector<DISPID>{PowerPoint::DISPID_PresentationSave,
                                                 PowerPoint::DISPID_PresentationOpen}));
    EXPECT_EQ(answers, (std::vector<HRESULT>{S_OK, DISP_E_BADVARTYPE}));
    EXPECT_EQ(second.References(), 1u);
    point->Unadvise(firstCookie);
    point->Release();
}

TEST_F(EventTest, WindowArgumentsAnswerTheirPowerPointInterfaces)
{
    struct ArgumentCase {
        IDispatch* object;
        const IID& iid;
    };
    PowerPoint::Selection* selection = standin::NewSelection();
    PowerPoint::DocumentWindow* window = standin::NewDocumentWindow();
    PowerPoint::SlideRange* range = standin::NewSlideRange();
    for (const ArgumentCase& argument : {ArgumentCase{selection, PowerPoint::IID_Selection},
                                         ArgumentCase{window, PowerPoint::IID_DocumentWindow},
                                         ArgumentCase{range, PowerPoint::IID_SlideRange}}) {
        IUnknown* queried = nullptr;
        EXPECT_EQ(argument.object->QueryInterface(argument.iid, reinterpret_cast<void**>(&queried)), S_OK);
        if (queried)
            queried->Release();
        EXPECT_EQ(argument.object->QueryInterface(PowerPoint::IID_Presentation, reinterpret_cast<void**>(&queried)),
                  E_NOINTERFACE);
    }
    selection->Release();
    window->Release();
    range->Release();
}

}  // namespace
