#pragma once
#include "addin/core/AddInSubObject.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

class AddIn;
class AppEventSink;
class ConnectionSteps;
class SlideShowController;
class SlideShowHost;
class EventDepth;
class OfficeInfo;
struct EnvironmentInfo;

// The add-in's IDTExtensibility2: Office connects the add-in, reports that
// its start-up is complete, begins to shut down and disconnects it. A
// sub-object of the add-in: its IUnknown is the add-in's controlling object
// (`outer`, which must outlive it), so both share one reference count; the
// add-in creates and deletes it. It offers no automation (E_FAIL). Every
// IDTExtensibility2 method runs inside the crash guard and answers
// E_UNEXPECTED after a caught failure. It writes the host's facts into the
// environment record and hands the event depth to its event sink; both belong
// to the add-in and must outlive it. PowerPoint's user-interface thread only.
class AddInConnection final : public AddInSubObject<AddInConnection, Office::IDTExtensibility2, E_FAIL> {
public:
    // addIn names the add-in in crash records only; steps are the add-in's
    // own start-up and shut-down steps; showHost is the slide-show
    // machinery's host (both must outlive the connection). steps,
    // environment, eventDepth and showHost may be null (no steps run, no
    // facts kept, nothing counted, no slide-show machinery).
    AddInConnection(IUnknown* outer, AddIn* addIn, ConnectionSteps* steps, EnvironmentInfo* environment,
                    EventDepth* eventDepth, SlideShowHost* showHost = nullptr);
    virtual ~AddInConnection();
    AddInConnection(const AddInConnection&) = delete;
    AddInConnection& operator=(const AddInConnection&) = delete;

    // Kept from OnConnection to OnDisconnection; no reference taken.
    PowerPoint::Application* GetApplication() const { return m_application.Get(); }
    OfficeInfo* GetOfficeInfo() const { return m_office; }
    // PowerPoint's application events; null when it could not be made.
    AppEventSink* GetEventSink() const { return m_events; }
    // The slide-show machinery; null without a host or when it could not be
    // made.
    SlideShowController* GetSlideShowController() const { return m_shows; }
    // OnStartupComplete has run for the current connection.
    bool IsStarted() const { return m_started; }

    // A connection made after PowerPoint's start (any mode but start-up)
    // runs OnStartupComplete at once. Null application: E_POINTER.
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    // The shut-down steps (every show stopped, the add-in's own steps, the
    // event sink unadvised), again through OnBeginShutdown unless PowerPoint
    // itself shuts down; then PowerPoint's objects are let go and a later
    // OnConnection starts over.
    HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    // Once per connection: the add-in's start-up steps, then, when they
    // started the plug-ins, the application event sink advised on PowerPoint
    // (E_UNEXPECTED when PowerPoint did not answer its _Application).
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

private:
    friend AddInSubObject;
    // IDispatch and IDTExtensibility2; IUnknown comes from the controlling
    // object.
    bool AnswerOwn(REFIID iid, IUnknown** answer);

    // PowerPoint's version, the Office installation and Office's languages
    // into the environment record, where the first connection of the
    // process puts them.
    void ReadHostFacts();
    void RunShutdownSteps();

    // Made in this order: the event sink, the slide-show controller, the
    // Office facts.
    AddIn* m_addIn;
    ConnectionSteps* m_steps;
    EnvironmentInfo* m_environment;
    MKComHolder<PowerPoint::Application> m_application;
    MKComHolder<IDispatch> m_addInInstance;
    bool m_started = false;
    AppEventSink* m_events = nullptr;
    SlideShowController* m_shows = nullptr;
    OfficeInfo* m_office = nullptr;
};
