#pragma once
#include "hostapi/OfficeInterfaces.h"

// PowerPoint's object model (type library of PowerPoint 2002 to 2010) as the
// add-in uses it: each interface in its published virtual-table order up to the
// last member the add-in calls. Members newer than PowerPoint 2002 are reached
// through IDispatch by the DISPIDs below. Slots the add-in never calls are kept
// with OFFICE_UNUSED_SLOT (see OfficeInterfaces.h). PowerPoint's _Application,
// _Presentation and _Slide are named Application, Presentation and Slide here.

#define PPT_IID(first) {first, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}}

namespace PowerPoint {

inline constexpr IID IID_Collection = PPT_IID(0x91493450);
inline constexpr IID IID_Application = PPT_IID(0x91493442);
inline constexpr IID IID_EApplication = PPT_IID(0x914934C2);
inline constexpr IID IID_SlideShowWindow = PPT_IID(0x91493453);
inline constexpr IID IID_Selection = PPT_IID(0x91493454);
inline constexpr IID IID_SlideShowWindows = PPT_IID(0x91493456);
inline constexpr IID IID_DocumentWindow = PPT_IID(0x91493457);
inline constexpr IID IID_SlideShowView = PPT_IID(0x91493459);
inline constexpr IID IID_SlideShowSettings = PPT_IID(0x9149345A);
inline constexpr IID IID_Presentations = PPT_IID(0x91493462);
inline constexpr IID IID_Presentation = PPT_IID(0x9149349D);
inline constexpr IID IID_PageSetup = PPT_IID(0x91493466);
inline constexpr IID IID_Slides = PPT_IID(0x91493469);
inline constexpr IID IID_Slide = PPT_IID(0x9149346A);
inline constexpr IID IID_SlideRange = PPT_IID(0x9149346B);
inline constexpr IID IID_Shapes = PPT_IID(0x91493475);
inline constexpr IID IID_PlaceholderFormat = PPT_IID(0x91493477);
inline constexpr IID IID_Shape = PPT_IID(0x91493479);
inline constexpr IID IID_GroupShapes = PPT_IID(0x9149347B);
inline constexpr IID IID_FillFormat = PPT_IID(0x9149347E);
inline constexpr IID IID_LineFormat = PPT_IID(0x9149347F);
inline constexpr IID IID_TextFrame = PPT_IID(0x91493484);
inline constexpr IID IID_OLEFormat = PPT_IID(0x91493488);
inline constexpr IID IID_Tags = PPT_IID(0x914934B9);
inline constexpr IID IID_TimeLine = PPT_IID(0x914934DC);
inline constexpr IID IID_Sequences = PPT_IID(0x914934DD);
inline constexpr IID IID_Sequence = PPT_IID(0x914934DE);
inline constexpr IID IID_Effect = PPT_IID(0x914934DF);
inline constexpr IID IID_Timing = PPT_IID(0x914934E0);
inline constexpr IID IID_EffectParameters = PPT_IID(0x914934E1);
inline constexpr IID IID_AnimationBehaviors = PPT_IID(0x914934E3);
inline constexpr IID IID_AnimationBehavior = PPT_IID(0x914934E4);
inline constexpr IID IID_CommandEffect = PPT_IID(0x914934EF);
inline constexpr IID IID_SetEffect = PPT_IID(0x914934F1);

// The application events (EApplication), raised through IDispatch::Invoke on
// the sinks of the Application's connection point; arguments as published.
enum : DISPID {
    DISPID_WindowSelectionChange = 2001,    // Selection
    DISPID_WindowBeforeRightClick = 2002,   // Selection, VT_BYREF|VT_BOOL cancel
    DISPID_WindowBeforeDoubleClick = 2003,  // Selection, VT_BYREF|VT_BOOL cancel
    DISPID_PresentationClose = 2004,        // Presentation
    DISPID_PresentationSave = 2005,         // Presentation
    DISPID_PresentationOpen = 2006,         // Presentation
    DISPID_NewPresentation = 2007,          // Presentation
    DISPID_PresentationNewSlide = 2008,     // Slide
    DISPID_WindowActivate = 2009,           // Presentation, DocumentWindow
    DISPID_WindowDeactivate = 2010,         // Presentation, DocumentWindow
    DISPID_SlideShowBegin = 2011,           // SlideShowWindow
    DISPID_SlideShowNextBuild = 2012,       // SlideShowWindow
    DISPID_SlideShowNextSlide = 2013,       // SlideShowWindow
    DISPID_SlideShowEnd = 2014,             // Presentation
    DISPID_PresentationPrint = 2015,        // Presentation
    DISPID_SlideSelectionChanged = 2016,    // SlideRange
    DISPID_ColorSchemeChanged = 2017,       // SlideRange
    DISPID_PresentationBeforeSave = 2018,   // Presentation, VT_BYREF|VT_BOOL cancel
    DISPID_SlideShowNextClick = 2019,       // SlideShowWindow, Effect
    DISPID_AfterNewPresentation = 2020,     // Presentation
    DISPID_AfterPresentationOpen = 2021,    // Presentation
    DISPID_PresentationSync = 2022,         // Presentation, VT_I4 sync event type
    DISPID_SlideShowOnNext = 2023,          // SlideShowWindow
    DISPID_SlideShowOnPrevious = 2024,      // SlideShowWindow
    DISPID_PresentationBeforeClose = 2025,  // Presentation, VT_BYREF|VT_BOOL cancel
};

// Members reached through IDispatch only (PowerPoint 2007 and later).
enum : DISPID {
    DISPID_SlideShowView_GetClickIndex = 2029,     // method, VT_I4 result
    DISPID_SlideShowView_GetClickCount = 2030,     // method, VT_I4 result
    DISPID_PlaceholderFormat_ContainedType = 2005, // property get, VT_I4 result
};

// MsoTriState
enum : long { msoTrue = -1, msoFalse = 0 };

// MsoShapeType
enum : long {
    msoShapeTypeMixed = -2,
    msoAutoShape = 1,
    msoCallout = 2,
    msoFreeform = 5,
    msoGroup = 6,
    msoEmbeddedOLEObject = 7,
    msoFormControl = 8,
    msoLine = 9,
    msoLinkedOLEObject = 10,
    msoOLEControlObject = 12,
    msoPicture = 13,
    msoPlaceholder = 14,
    msoMedia = 16,
    msoTextBox = 17,
};

// PpSlideShowState
enum : long {
    ppSlideShowRunning = 1,
    ppSlideShowPaused = 2,
    ppSlideShowBlackScreen = 3,
    ppSlideShowWhiteScreen = 4,
    ppSlideShowDone = 5,
};

// PpSlideShowType
enum : long { ppShowTypeSpeaker = 1, ppShowTypeWindow = 2, ppShowTypeKiosk = 3 };

// MsoAnimTriggerType
enum : long {
    msoAnimTriggerMixed = -1,
    msoAnimTriggerNone = 0,
    msoAnimTriggerOnPageClick = 1,
    msoAnimTriggerWithPrevious = 2,
    msoAnimTriggerAfterPrevious = 3,
    msoAnimTriggerOnShapeClick = 4,
};

// MsoAnimType, MsoAnimCommandType, MsoAnimProperty and the effect ids in use.
enum : long { msoAnimTypeCommand = 6, msoAnimTypeSet = 8 };
enum : long { msoAnimCommandTypeEvent = 0, msoAnimCommandTypeCall = 1, msoAnimCommandTypeVerb = 2 };
enum : long { msoAnimVisibility = 8 };
enum : long { msoAnimEffectCustom = 0, msoAnimEffectAppear = 1, msoAnimEffectTransparency = 62 };

struct Application;
struct Presentation;
struct Presentations;
struct Slide;
struct Slides;
struct SlideShowWindow;
struct SlideShowWindows;
struct SlideShowView;
struct SlideShowSettings;
struct PageSetup;
struct Shapes;
struct Shape;
struct GroupShapes;
struct PlaceholderFormat;
struct FillFormat;
struct LineFormat;
struct TextFrame;
struct OLEFormat;
struct Tags;
struct TimeLine;
struct Sequences;
struct Sequence;
struct Effect;
struct Timing;
struct EffectParameters;
struct AnimationBehaviors;
struct AnimationBehavior;
struct CommandEffect;
struct SetEffect;

// Base of PowerPoint's collections: _NewEnum, _Index and Count.
struct Collection : public IDispatch {
    OFFICE_UNUSED_SLOT(get_NewEnum)
    OFFICE_UNUSED_SLOT(Index)
    virtual HRESULT STDMETHODCALLTYPE get_Count(long* result) = 0;
};

// Event argument types: only queried for and passed on.
struct Selection : public IDispatch {};
struct DocumentWindow : public IDispatch {};
struct SlideRange : public IDispatch {};

struct Application : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Presentations(Presentations** result) = 0;
    OFFICE_UNUSED_SLOT(get_Windows)
    OFFICE_UNUSED_SLOT(get_Dialogs)
    OFFICE_UNUSED_SLOT(get_ActiveWindow)
    virtual HRESULT STDMETHODCALLTYPE get_ActivePresentation(Presentation** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SlideShowWindows(SlideShowWindows** result) = 0;
    OFFICE_UNUSED_SLOT(get_CommandBars)
    virtual HRESULT STDMETHODCALLTYPE get_Path(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) = 0;
    OFFICE_UNUSED_SLOT(get_Caption)
    OFFICE_UNUSED_SLOT(put_Caption)
    OFFICE_UNUSED_SLOT(get_Assistant)
    OFFICE_UNUSED_SLOT(get_FileSearch)
    OFFICE_UNUSED_SLOT(get_FileFind)
    virtual HRESULT STDMETHODCALLTYPE get_Build(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Version(BSTR* result) = 0;
    OFFICE_UNUSED_SLOT(get_OperatingSystem)
    OFFICE_UNUSED_SLOT(get_ActivePrinter)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_AddIns)
    OFFICE_UNUSED_SLOT(get_VBE)
    OFFICE_UNUSED_SLOT(Help)
    OFFICE_UNUSED_SLOT(Quit)
    OFFICE_UNUSED_SLOT(Run)
    OFFICE_UNUSED_SLOT(FileDialog)
    OFFICE_UNUSED_SLOT(LaunchSpelling)
    OFFICE_UNUSED_SLOT(get_Left)
    OFFICE_UNUSED_SLOT(put_Left)
    OFFICE_UNUSED_SLOT(get_Top)
    OFFICE_UNUSED_SLOT(put_Top)
    OFFICE_UNUSED_SLOT(get_Width)
    OFFICE_UNUSED_SLOT(put_Width)
    OFFICE_UNUSED_SLOT(get_Height)
    OFFICE_UNUSED_SLOT(put_Height)
    OFFICE_UNUSED_SLOT(get_WindowState)
    OFFICE_UNUSED_SLOT(put_WindowState)
    OFFICE_UNUSED_SLOT(get_Visible)
    OFFICE_UNUSED_SLOT(put_Visible)
    virtual HRESULT STDMETHODCALLTYPE get_HWND(long* result) = 0;
    OFFICE_UNUSED_SLOT(get_Active)
    OFFICE_UNUSED_SLOT(Activate)
    OFFICE_UNUSED_SLOT(get_AnswerWizard)
    virtual HRESULT STDMETHODCALLTYPE get_COMAddIns(Office::COMAddIns** result) = 0;
    OFFICE_UNUSED_SLOT(get_ProductCode)
    OFFICE_UNUSED_SLOT(get_DefaultWebOptions)
    virtual HRESULT STDMETHODCALLTYPE get_LanguageSettings(Office::LanguageSettings** result) = 0;
};

struct Presentations : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    // Index: VT_I4 position from 1.
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT index, Presentation** result) = 0;
};

struct Presentation : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_SlideMaster)
    OFFICE_UNUSED_SLOT(get_TitleMaster)
    OFFICE_UNUSED_SLOT(get_HasTitleMaster)
    OFFICE_UNUSED_SLOT(AddTitleMaster)
    OFFICE_UNUSED_SLOT(ApplyTemplate)
    OFFICE_UNUSED_SLOT(get_TemplateName)
    OFFICE_UNUSED_SLOT(get_NotesMaster)
    OFFICE_UNUSED_SLOT(get_HandoutMaster)
    virtual HRESULT STDMETHODCALLTYPE get_Slides(Slides** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PageSetup(PageSetup** result) = 0;
    OFFICE_UNUSED_SLOT(get_ColorSchemes)
    OFFICE_UNUSED_SLOT(get_ExtraColors)
    virtual HRESULT STDMETHODCALLTYPE get_SlideShowSettings(SlideShowSettings** result) = 0;
    OFFICE_UNUSED_SLOT(get_Fonts)
    OFFICE_UNUSED_SLOT(get_Windows)
    virtual HRESULT STDMETHODCALLTYPE get_Tags(Tags** result) = 0;
    OFFICE_UNUSED_SLOT(get_DefaultShape)
    OFFICE_UNUSED_SLOT(get_BuiltInDocumentProperties)
    OFFICE_UNUSED_SLOT(get_CustomDocumentProperties)
    OFFICE_UNUSED_SLOT(get_VBProject)
    OFFICE_UNUSED_SLOT(get_ReadOnly)
    virtual HRESULT STDMETHODCALLTYPE get_FullName(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) = 0;
    OFFICE_UNUSED_SLOT(get_Path)
    virtual HRESULT STDMETHODCALLTYPE get_Saved(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Saved(long value) = 0;
    OFFICE_UNUSED_SLOT(get_LayoutDirection)
    OFFICE_UNUSED_SLOT(put_LayoutDirection)
    OFFICE_UNUSED_SLOT(NewWindow)
    OFFICE_UNUSED_SLOT(FollowHyperlink)
    OFFICE_UNUSED_SLOT(AddToFavorites)
    OFFICE_UNUSED_SLOT(Unused)
    OFFICE_UNUSED_SLOT(get_PrintOptions)
    OFFICE_UNUSED_SLOT(PrintOut)
    OFFICE_UNUSED_SLOT(Save)
    OFFICE_UNUSED_SLOT(SaveAs)
    OFFICE_UNUSED_SLOT(SaveCopyAs)
    OFFICE_UNUSED_SLOT(Export)
    OFFICE_UNUSED_SLOT(Close)
    OFFICE_UNUSED_SLOT(SetUndoText)
    OFFICE_UNUSED_SLOT(get_Container)
    OFFICE_UNUSED_SLOT(get_DisplayComments)
    OFFICE_UNUSED_SLOT(put_DisplayComments)
    OFFICE_UNUSED_SLOT(get_FarEastLineBreakLevel)
    OFFICE_UNUSED_SLOT(put_FarEastLineBreakLevel)
    OFFICE_UNUSED_SLOT(get_NoLineBreakBefore)
    OFFICE_UNUSED_SLOT(put_NoLineBreakBefore)
    OFFICE_UNUSED_SLOT(get_NoLineBreakAfter)
    OFFICE_UNUSED_SLOT(put_NoLineBreakAfter)
    OFFICE_UNUSED_SLOT(UpdateLinks)
    // Fails when the presentation has no running slide show.
    virtual HRESULT STDMETHODCALLTYPE get_SlideShowWindow(SlideShowWindow** result) = 0;
};

struct PageSetup : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_FirstSlideNumber)
    OFFICE_UNUSED_SLOT(put_FirstSlideNumber)
    virtual HRESULT STDMETHODCALLTYPE get_SlideHeight(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SlideHeight(float value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SlideWidth(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SlideWidth(float value) = 0;
};

struct Slides : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT index, Slide** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindBySlideID(long slideId, Slide** result) = 0;
};

struct Slide : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Shapes(Shapes** result) = 0;
    OFFICE_UNUSED_SLOT(get_HeadersFooters)
    OFFICE_UNUSED_SLOT(get_SlideShowTransition)
    OFFICE_UNUSED_SLOT(get_ColorScheme)
    OFFICE_UNUSED_SLOT(put_ColorScheme)
    OFFICE_UNUSED_SLOT(get_Background)
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) = 0;
    OFFICE_UNUSED_SLOT(put_Name)
    virtual HRESULT STDMETHODCALLTYPE get_SlideID(long* result) = 0;
    OFFICE_UNUSED_SLOT(get_PrintSteps)
    OFFICE_UNUSED_SLOT(Select)
    OFFICE_UNUSED_SLOT(Cut)
    OFFICE_UNUSED_SLOT(Copy)
    OFFICE_UNUSED_SLOT(get_Layout)
    OFFICE_UNUSED_SLOT(put_Layout)
    OFFICE_UNUSED_SLOT(Duplicate)
    OFFICE_UNUSED_SLOT(Delete)
    virtual HRESULT STDMETHODCALLTYPE get_Tags(Tags** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SlideIndex(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SlideNumber(int* result) = 0;
    OFFICE_UNUSED_SLOT(get_DisplayMasterShapes)
    OFFICE_UNUSED_SLOT(put_DisplayMasterShapes)
    OFFICE_UNUSED_SLOT(get_FollowMasterBackground)
    OFFICE_UNUSED_SLOT(put_FollowMasterBackground)
    OFFICE_UNUSED_SLOT(get_NotesPage)
    OFFICE_UNUSED_SLOT(get_Master)
    OFFICE_UNUSED_SLOT(get_Hyperlinks)
    OFFICE_UNUSED_SLOT(Export)
    OFFICE_UNUSED_SLOT(get_Scripts)
    OFFICE_UNUSED_SLOT(get_Comments)
    OFFICE_UNUSED_SLOT(get_Design)
    OFFICE_UNUSED_SLOT(put_Design)
    OFFICE_UNUSED_SLOT(MoveTo)
    virtual HRESULT STDMETHODCALLTYPE get_TimeLine(TimeLine** result) = 0;
};

struct SlideShowWindows : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE Item(int index, SlideShowWindow** result) = 0;
};

struct SlideShowWindow : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_View(SlideShowView** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Presentation(Presentation** result) = 0;
    OFFICE_UNUSED_SLOT(get_IsFullScreen)
    OFFICE_UNUSED_SLOT(get_Left)
    OFFICE_UNUSED_SLOT(put_Left)
    OFFICE_UNUSED_SLOT(get_Top)
    OFFICE_UNUSED_SLOT(put_Top)
    OFFICE_UNUSED_SLOT(get_Width)
    OFFICE_UNUSED_SLOT(put_Width)
    OFFICE_UNUSED_SLOT(get_Height)
    OFFICE_UNUSED_SLOT(put_Height)
    virtual HRESULT STDMETHODCALLTYPE get_HWND(long* result) = 0;
};

// Click index and click count: DISPIDs 2029 and 2030 through IDispatch.
struct SlideShowView : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_Zoom)
    virtual HRESULT STDMETHODCALLTYPE get_Slide(Slide** result) = 0;
    OFFICE_UNUSED_SLOT(get_PointerType)
    OFFICE_UNUSED_SLOT(put_PointerType)
    virtual HRESULT STDMETHODCALLTYPE get_State(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_State(long value) = 0;
    OFFICE_UNUSED_SLOT(get_AcceleratorsEnabled)
    OFFICE_UNUSED_SLOT(put_AcceleratorsEnabled)
    virtual HRESULT STDMETHODCALLTYPE get_PresentationElapsedTime(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SlideElapsedTime(float* result) = 0;
    OFFICE_UNUSED_SLOT(put_SlideElapsedTime)
    OFFICE_UNUSED_SLOT(get_LastSlideViewed)
    OFFICE_UNUSED_SLOT(get_AdvanceMode)
    OFFICE_UNUSED_SLOT(get_PointerColor)
    OFFICE_UNUSED_SLOT(get_IsNamedShow)
    OFFICE_UNUSED_SLOT(get_SlideShowName)
    OFFICE_UNUSED_SLOT(DrawLine)
    OFFICE_UNUSED_SLOT(EraseDrawing)
    virtual HRESULT STDMETHODCALLTYPE First() = 0;
    virtual HRESULT STDMETHODCALLTYPE Last() = 0;
    virtual HRESULT STDMETHODCALLTYPE Next() = 0;
    virtual HRESULT STDMETHODCALLTYPE Previous() = 0;
    virtual HRESULT STDMETHODCALLTYPE GotoSlide(int index, long resetSlide) = 0;
    OFFICE_UNUSED_SLOT(GotoNamedShow)
    OFFICE_UNUSED_SLOT(EndNamedShow)
    OFFICE_UNUSED_SLOT(ResetSlideTime)
    virtual HRESULT STDMETHODCALLTYPE Exit() = 0;
    OFFICE_UNUSED_SLOT(InstallTracker)
    virtual HRESULT STDMETHODCALLTYPE get_CurrentShowPosition(int* result) = 0;
};

struct SlideShowSettings : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_PointerColor)
    OFFICE_UNUSED_SLOT(get_NamedSlideShows)
    virtual HRESULT STDMETHODCALLTYPE get_StartingSlide(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_StartingSlide(int value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EndingSlide(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EndingSlide(int value) = 0;
    OFFICE_UNUSED_SLOT(get_AdvanceMode)
    OFFICE_UNUSED_SLOT(put_AdvanceMode)
    virtual HRESULT STDMETHODCALLTYPE Run(SlideShowWindow** result) = 0;
    OFFICE_UNUSED_SLOT(get_LoopUntilStopped)
    OFFICE_UNUSED_SLOT(put_LoopUntilStopped)
    virtual HRESULT STDMETHODCALLTYPE get_ShowType(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ShowType(long value) = 0;
};

struct Shapes : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Count(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT index, Shape** result) = 0;
};

struct GroupShapes : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Count(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT index, Shape** result) = 0;
};

// ContainedType (PowerPoint 2007 and later): DISPID 2005 through IDispatch.
struct PlaceholderFormat : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Type(long* result) = 0;
};

struct Shape : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(Apply)
    OFFICE_UNUSED_SLOT(Delete)
    OFFICE_UNUSED_SLOT(Flip)
    OFFICE_UNUSED_SLOT(IncrementLeft)
    OFFICE_UNUSED_SLOT(IncrementRotation)
    OFFICE_UNUSED_SLOT(IncrementTop)
    OFFICE_UNUSED_SLOT(PickUp)
    OFFICE_UNUSED_SLOT(RerouteConnections)
    OFFICE_UNUSED_SLOT(ScaleHeight)
    OFFICE_UNUSED_SLOT(ScaleWidth)
    OFFICE_UNUSED_SLOT(SetShapesDefaultProperties)
    OFFICE_UNUSED_SLOT(Ungroup)
    OFFICE_UNUSED_SLOT(ZOrder)
    OFFICE_UNUSED_SLOT(get_Adjustments)
    OFFICE_UNUSED_SLOT(get_AutoShapeType)
    OFFICE_UNUSED_SLOT(put_AutoShapeType)
    OFFICE_UNUSED_SLOT(get_BlackWhiteMode)
    OFFICE_UNUSED_SLOT(put_BlackWhiteMode)
    OFFICE_UNUSED_SLOT(get_Callout)
    OFFICE_UNUSED_SLOT(get_ConnectionSiteCount)
    OFFICE_UNUSED_SLOT(get_Connector)
    OFFICE_UNUSED_SLOT(get_ConnectorFormat)
    virtual HRESULT STDMETHODCALLTYPE get_Fill(FillFormat** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_GroupItems(GroupShapes** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Height(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Height(float value) = 0;
    OFFICE_UNUSED_SLOT(get_HorizontalFlip)
    virtual HRESULT STDMETHODCALLTYPE get_Left(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Left(float value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Line(LineFormat** result) = 0;
    OFFICE_UNUSED_SLOT(get_LockAspectRatio)
    OFFICE_UNUSED_SLOT(put_LockAspectRatio)
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Name(BSTR value) = 0;
    OFFICE_UNUSED_SLOT(get_Nodes)
    OFFICE_UNUSED_SLOT(get_Rotation)
    OFFICE_UNUSED_SLOT(put_Rotation)
    OFFICE_UNUSED_SLOT(get_PictureFormat)
    OFFICE_UNUSED_SLOT(get_Shadow)
    OFFICE_UNUSED_SLOT(get_TextEffect)
    virtual HRESULT STDMETHODCALLTYPE get_TextFrame(TextFrame** result) = 0;
    OFFICE_UNUSED_SLOT(get_ThreeD)
    virtual HRESULT STDMETHODCALLTYPE get_Top(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Top(float value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Type(long* result) = 0;
    OFFICE_UNUSED_SLOT(get_VerticalFlip)
    OFFICE_UNUSED_SLOT(get_Vertices)
    virtual HRESULT STDMETHODCALLTYPE get_Visible(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Visible(long value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Width(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Width(float value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ZOrderPosition(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_OLEFormat(OLEFormat** result) = 0;
    OFFICE_UNUSED_SLOT(get_LinkFormat)
    virtual HRESULT STDMETHODCALLTYPE get_PlaceholderFormat(PlaceholderFormat** result) = 0;
    OFFICE_UNUSED_SLOT(get_AnimationSettings)
    OFFICE_UNUSED_SLOT(get_ActionSettings)
    virtual HRESULT STDMETHODCALLTYPE get_Tags(Tags** result) = 0;
    OFFICE_UNUSED_SLOT(Cut)
    OFFICE_UNUSED_SLOT(Copy)
    OFFICE_UNUSED_SLOT(Select)
    OFFICE_UNUSED_SLOT(Duplicate)
    OFFICE_UNUSED_SLOT(get_MediaType)
    virtual HRESULT STDMETHODCALLTYPE get_HasTextFrame(long* result) = 0;
    OFFICE_UNUSED_SLOT(get_SoundFormat)
    OFFICE_UNUSED_SLOT(get_Script)
    OFFICE_UNUSED_SLOT(get_AlternativeText)
    OFFICE_UNUSED_SLOT(put_AlternativeText)
    OFFICE_UNUSED_SLOT(get_HasTable)
    OFFICE_UNUSED_SLOT(get_Table)
    OFFICE_UNUSED_SLOT(Export)
    OFFICE_UNUSED_SLOT(get_HasDiagram)
    OFFICE_UNUSED_SLOT(get_Diagram)
    OFFICE_UNUSED_SLOT(get_HasDiagramNode)
    OFFICE_UNUSED_SLOT(get_DiagramNode)
    OFFICE_UNUSED_SLOT(get_Child)
    OFFICE_UNUSED_SLOT(get_ParentGroup)
    OFFICE_UNUSED_SLOT(get_CanvasItems)
    virtual HRESULT STDMETHODCALLTYPE get_Id(int* result) = 0;
};

struct FillFormat : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(Background)
    OFFICE_UNUSED_SLOT(OneColorGradient)
    OFFICE_UNUSED_SLOT(Patterned)
    OFFICE_UNUSED_SLOT(PresetGradient)
    OFFICE_UNUSED_SLOT(PresetTextured)
    OFFICE_UNUSED_SLOT(Solid)
    OFFICE_UNUSED_SLOT(TwoColorGradient)
    OFFICE_UNUSED_SLOT(UserPicture)
    OFFICE_UNUSED_SLOT(UserTextured)
    OFFICE_UNUSED_SLOT(get_BackColor)
    OFFICE_UNUSED_SLOT(put_BackColor)
    OFFICE_UNUSED_SLOT(get_ForeColor)
    OFFICE_UNUSED_SLOT(put_ForeColor)
    OFFICE_UNUSED_SLOT(get_GradientColorType)
    OFFICE_UNUSED_SLOT(get_GradientDegree)
    OFFICE_UNUSED_SLOT(get_GradientStyle)
    OFFICE_UNUSED_SLOT(get_GradientVariant)
    OFFICE_UNUSED_SLOT(get_Pattern)
    OFFICE_UNUSED_SLOT(get_PresetGradientType)
    OFFICE_UNUSED_SLOT(get_PresetTexture)
    OFFICE_UNUSED_SLOT(get_TextureName)
    OFFICE_UNUSED_SLOT(get_TextureType)
    OFFICE_UNUSED_SLOT(get_Transparency)
    OFFICE_UNUSED_SLOT(put_Transparency)
    OFFICE_UNUSED_SLOT(get_Type)
    virtual HRESULT STDMETHODCALLTYPE get_Visible(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Visible(long value) = 0;
};

struct LineFormat : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_BackColor)
    OFFICE_UNUSED_SLOT(put_BackColor)
    OFFICE_UNUSED_SLOT(get_BeginArrowheadLength)
    OFFICE_UNUSED_SLOT(put_BeginArrowheadLength)
    OFFICE_UNUSED_SLOT(get_BeginArrowheadStyle)
    OFFICE_UNUSED_SLOT(put_BeginArrowheadStyle)
    OFFICE_UNUSED_SLOT(get_BeginArrowheadWidth)
    OFFICE_UNUSED_SLOT(put_BeginArrowheadWidth)
    OFFICE_UNUSED_SLOT(get_DashStyle)
    OFFICE_UNUSED_SLOT(put_DashStyle)
    OFFICE_UNUSED_SLOT(get_EndArrowheadLength)
    OFFICE_UNUSED_SLOT(put_EndArrowheadLength)
    OFFICE_UNUSED_SLOT(get_EndArrowheadStyle)
    OFFICE_UNUSED_SLOT(put_EndArrowheadStyle)
    OFFICE_UNUSED_SLOT(get_EndArrowheadWidth)
    OFFICE_UNUSED_SLOT(put_EndArrowheadWidth)
    OFFICE_UNUSED_SLOT(get_ForeColor)
    OFFICE_UNUSED_SLOT(put_ForeColor)
    OFFICE_UNUSED_SLOT(get_Pattern)
    OFFICE_UNUSED_SLOT(put_Pattern)
    OFFICE_UNUSED_SLOT(get_Style)
    OFFICE_UNUSED_SLOT(put_Style)
    OFFICE_UNUSED_SLOT(get_Transparency)
    OFFICE_UNUSED_SLOT(put_Transparency)
    virtual HRESULT STDMETHODCALLTYPE get_Visible(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Visible(long value) = 0;
};

struct TextFrame : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Creator)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_MarginBottom)
    OFFICE_UNUSED_SLOT(put_MarginBottom)
    OFFICE_UNUSED_SLOT(get_MarginLeft)
    OFFICE_UNUSED_SLOT(put_MarginLeft)
    OFFICE_UNUSED_SLOT(get_MarginRight)
    OFFICE_UNUSED_SLOT(put_MarginRight)
    OFFICE_UNUSED_SLOT(get_MarginTop)
    OFFICE_UNUSED_SLOT(put_MarginTop)
    OFFICE_UNUSED_SLOT(get_Orientation)
    OFFICE_UNUSED_SLOT(put_Orientation)
    virtual HRESULT STDMETHODCALLTYPE get_HasText(long* result) = 0;
};

struct OLEFormat : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_ObjectVerbs)
    virtual HRESULT STDMETHODCALLTYPE get_Object(IDispatch** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProgID(BSTR* result) = 0;
};

struct Tags : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    // An unknown name answers S_OK and the empty text.
    virtual HRESULT STDMETHODCALLTYPE Item(BSTR name, BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Add(BSTR name, BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete(BSTR name) = 0;
};

struct TimeLine : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_MainSequence(Sequence** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_InteractiveSequences(Sequences** result) = 0;
};

struct Sequences : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE Item(int index, Sequence** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Add(int index, Sequence** result) = 0;
};

struct Sequence : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE Item(int index, Effect** result) = 0;
    // Index -1 appends.
    virtual HRESULT STDMETHODCALLTYPE AddEffect(Shape* shape, long effectId, long level,
                                                long trigger, int index, Effect** result) = 0;
};

struct Effect : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Shape(Shape** result) = 0;
    OFFICE_UNUSED_SLOT(put_Shape)
    virtual HRESULT STDMETHODCALLTYPE MoveTo(int position) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveBefore(Effect* effect) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveAfter(Effect* effect) = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Index(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Timing(Timing** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EffectType(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EffectType(long value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_EffectParameters(EffectParameters** result) = 0;
    OFFICE_UNUSED_SLOT(get_TextRangeStart)
    OFFICE_UNUSED_SLOT(get_TextRangeLength)
    OFFICE_UNUSED_SLOT(get_Paragraph)
    OFFICE_UNUSED_SLOT(put_Paragraph)
    OFFICE_UNUSED_SLOT(get_DisplayName)
    OFFICE_UNUSED_SLOT(get_Exit)
    OFFICE_UNUSED_SLOT(put_Exit)
    virtual HRESULT STDMETHODCALLTYPE get_Behaviors(AnimationBehaviors** result) = 0;
};

struct Timing : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    // 3.4028235e38 (FLT_MAX) means no duration.
    virtual HRESULT STDMETHODCALLTYPE get_Duration(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Duration(float value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TriggerType(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TriggerType(long value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TriggerDelayTime(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TriggerDelayTime(float value) = 0;
    // Answers S_OK and null when the effect has no trigger shape.
    virtual HRESULT STDMETHODCALLTYPE get_TriggerShape(Shape** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TriggerShape(Shape* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RepeatCount(int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_RepeatCount(int value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RepeatDuration(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_RepeatDuration(float value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Speed(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Speed(float value) = 0;
};

struct EffectParameters : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_Direction)
    OFFICE_UNUSED_SLOT(put_Direction)
    virtual HRESULT STDMETHODCALLTYPE get_Amount(float* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Amount(float value) = 0;
};

struct AnimationBehaviors : public Collection {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE Item(int index, AnimationBehavior** result) = 0;
    // Index -1 appends.
    virtual HRESULT STDMETHODCALLTYPE Add(long type, int index, AnimationBehavior** result) = 0;
};

struct AnimationBehavior : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    OFFICE_UNUSED_SLOT(get_Additive)
    OFFICE_UNUSED_SLOT(put_Additive)
    OFFICE_UNUSED_SLOT(get_Accumulate)
    OFFICE_UNUSED_SLOT(put_Accumulate)
    virtual HRESULT STDMETHODCALLTYPE get_Type(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Type(long value) = 0;
    OFFICE_UNUSED_SLOT(get_MotionEffect)
    OFFICE_UNUSED_SLOT(get_ColorEffect)
    OFFICE_UNUSED_SLOT(get_ScaleEffect)
    OFFICE_UNUSED_SLOT(get_RotationEffect)
    OFFICE_UNUSED_SLOT(get_PropertyEffect)
    virtual HRESULT STDMETHODCALLTYPE get_Timing(Timing** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Delete() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandEffect(CommandEffect** result) = 0;
    OFFICE_UNUSED_SLOT(get_FilterEffect)
    virtual HRESULT STDMETHODCALLTYPE get_SetEffect(SetEffect** result) = 0;
};

struct CommandEffect : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Type(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Type(long value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Command(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Command(BSTR value) = 0;
};

struct SetEffect : public IDispatch {
    OFFICE_UNUSED_SLOT(get_Application)
    OFFICE_UNUSED_SLOT(get_Parent)
    virtual HRESULT STDMETHODCALLTYPE get_Property(long* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Property(long value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_To(VARIANT* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_To(VARIANT value) = 0;
};

}  // namespace PowerPoint

#undef PPT_IID
