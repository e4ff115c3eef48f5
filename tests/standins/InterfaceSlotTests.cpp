// Every member the add-in calls sits in the virtual-table slot that
// PowerPoint's and Office's published member order gives it (slots 0 to 6
// are IUnknown and IDispatch).
#include "hostapi/PowerPointInterfaces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// With the Itanium member-pointer layout that g++ uses, a pointer to a
// virtual member holds 1 + the byte offset of its slot.
template <class MemberPointer>
int SlotOf(MemberPointer member)
{
    static_assert(sizeof(member) == 2 * sizeof(void*));
    uintptr_t words[2];
    std::memcpy(words, &member, sizeof(words));
    EXPECT_EQ(words[0] % sizeof(void*), 1u) << "not a virtual member";
    return static_cast<int>((words[0] - 1) / sizeof(void*));
}

struct SlotCase {
    const char* member;
    int actual;
    int published;
};

#define SLOT(type, member, published) SlotCase{#type "::" #member, SlotOf(&type::member), published}

std::vector<SlotCase> Table()
{
    using namespace PowerPoint;
    using namespace Office;
    return {
        SLOT(IMsoDispObj, get_Application, 7),
        SLOT(IMsoDispObj, get_Creator, 8),
        SLOT(COMAddIn, get_Description, 9),
        SLOT(COMAddIn, put_Description, 10),
        SLOT(COMAddIn, get_ProgId, 11),
        SLOT(COMAddIn, get_Guid, 12),
        SLOT(COMAddIn, get_Connect, 13),
        SLOT(COMAddIn, put_Connect, 14),
        SLOT(COMAddIn, get_Object, 15),
        SLOT(COMAddIn, put_Object, 16),
        SLOT(COMAddIns, Item, 9),
        SLOT(COMAddIns, get_Count, 10),
        SLOT(COMAddIns, Update, 12),
        SLOT(LanguageSettings, get_LanguageID, 9),
        SLOT(IRibbonUI, Invalidate, 7),
        SLOT(IRibbonUI, InvalidateControl, 8),
        SLOT(IRibbonControl, get_Id, 7),
        SLOT(IRibbonExtensibility, GetCustomUI, 7),
        SLOT(IDTExtensibility2, OnConnection, 7),
        SLOT(IDTExtensibility2, OnDisconnection, 8),
        SLOT(IDTExtensibility2, OnAddInsUpdate, 9),
        SLOT(IDTExtensibility2, OnStartupComplete, 10),
        SLOT(IDTExtensibility2, OnBeginShutdown, 11),

        SLOT(Collection, get_Count, 9),
        SLOT(Application, get_Presentations, 7),
        SLOT(Application, get_ActivePresentation, 11),
        SLOT(Application, get_SlideShowWindows, 12),
        SLOT(Application, get_Path, 14),
        SLOT(Application, get_Name, 15),
        SLOT(Application, get_Build, 21),
        SLOT(Application, get_Version, 22),
        SLOT(Application, get_HWND, 45),
        SLOT(Application, get_COMAddIns, 49),
        SLOT(Application, get_LanguageSettings, 52),
        SLOT(Presentations, get_Count, 9),
        SLOT(Presentations, Item, 12),
        SLOT(Presentation, get_Slides, 17),
        SLOT(Presentation, get_PageSetup, 18),
        SLOT(Presentation, get_SlideShowSettings, 21),
        SLOT(Presentation, get_Tags, 24),
        SLOT(Presentation, get_FullName, 30),
        SLOT(Presentation, get_Name, 31),
        SLOT(Presentation, get_Saved, 33),
        SLOT(Presentation, put_Saved, 34),
        SLOT(Presentation, get_SlideShowWindow, 59),
        SLOT(PageSetup, get_SlideHeight, 11),
        SLOT(PageSetup, put_SlideHeight, 12),
        SLOT(PageSetup, get_SlideWidth, 13),
        SLOT(PageSetup, put_SlideWidth, 14),
        SLOT(Slides, Item, 12),
        SLOT(Slides, FindBySlideID, 13),
        SLOT(Slide, get_Shapes, 9),
        SLOT(Slide, get_Name, 15),
        SLOT(Slide, get_SlideID, 17),
        SLOT(Slide, get_Tags, 26),
        SLOT(Slide, get_SlideIndex, 27),
        SLOT(Slide, get_SlideNumber, 28),
        SLOT(Slide, get_TimeLine, 42),
        SLOT(SlideShowWindows, Item, 12),
        SLOT(SlideShowWindow, get_View, 9),
        SLOT(SlideShowWindow, get_Presentation, 10),
        SLOT(SlideShowWindow, get_HWND, 20),
        SLOT(SlideShowView, get_Slide, 10),
        SLOT(SlideShowView, get_State, 13),
        SLOT(SlideShowView, put_State, 14),
        SLOT(SlideShowView, get_PresentationElapsedTime, 17),
        SLOT(SlideShowView, get_SlideElapsedTime, 18),
        SLOT(SlideShowView, First, 27),
        SLOT(SlideShowView, Last, 28),
        SLOT(SlideShowView, Next, 29),
        SLOT(SlideShowView, Previous, 30),
        SLOT(SlideShowView, GotoSlide, 31),
        SLOT(SlideShowView, Exit, 35),
        SLOT(SlideShowView, get_CurrentShowPosition, 37),
        SLOT(SlideShowSettings, get_StartingSlide, 11),
        SLOT(SlideShowSettings, put_StartingSlide, 12),
        SLOT(SlideShowSettings, get_EndingSlide, 13),
        SLOT(SlideShowSettings, put_EndingSlide, 14),
        SLOT(SlideShowSettings, Run, 17),
        SLOT(SlideShowSettings, get_ShowType, 20),
        SLOT(SlideShowSettings, put_ShowType, 21),
        SLOT(Shapes, get_Count, 10),
        SLOT(Shapes, Item, 11),
        SLOT(GroupShapes, get_Count, 10),
        SLOT(GroupShapes, Item, 11),
        SLOT(PlaceholderFormat, get_Type, 9),
        SLOT(Shape, get_Fill, 32),
        SLOT(Shape, get_GroupItems, 33),
        SLOT(Shape, get_Height, 34),
        SLOT(Shape, put_Height, 35),
        SLOT(Shape, get_Left, 37),
        SLOT(Shape, put_Left, 38),
        SLOT(Shape, get_Line, 39),
        SLOT(Shape, get_Name, 42),
        SLOT(Shape, put_Name, 43),
        SLOT(Shape, get_TextFrame, 50),
        SLOT(Shape, get_Top, 52),
        SLOT(Shape, put_Top, 53),
        SLOT(Shape, get_Type, 54),
        SLOT(Shape, get_Visible, 57),
        SLOT(Shape, put_Visible, 58),
        SLOT(Shape, get_Width, 59),
        SLOT(Shape, put_Width, 60),
        SLOT(Shape, get_ZOrderPosition, 61),
        SLOT(Shape, get_OLEFormat, 62),
        SLOT(Shape, get_PlaceholderFormat, 64),
        SLOT(Shape, get_Tags, 67),
        SLOT(Shape, get_HasTextFrame, 73),
        SLOT(Shape, get_Id, 88),
        SLOT(FillFormat, get_Visible, 35),
        SLOT(FillFormat, put_Visible, 36),
        SLOT(LineFormat, get_Visible, 34),
        SLOT(LineFormat, put_Visible, 35),
        SLOT(TextFrame, get_HasText, 20),
        SLOT(OLEFormat, get_Object, 10),
        SLOT(OLEFormat, get_ProgID, 11),
        SLOT(Tags, get_Count, 9),
        SLOT(Tags, Item, 12),
        SLOT(Tags, Add, 13),
        SLOT(Tags, Delete, 14),
        SLOT(TimeLine, get_MainSequence, 9),
        SLOT(TimeLine, get_InteractiveSequences, 10),
        SLOT(Sequences, Item, 12),
        SLOT(Sequences, Add, 13),
        SLOT(Sequence, get_Count, 9),
        SLOT(Sequence, Item, 12),
        SLOT(Sequence, AddEffect, 13),
        SLOT(Effect, get_Shape, 9),
        SLOT(Effect, MoveTo, 11),
        SLOT(Effect, MoveBefore, 12),
        SLOT(Effect, MoveAfter, 13),
        SLOT(Effect, Delete, 14),
        SLOT(Effect, get_Index, 15),
        SLOT(Effect, get_Timing, 16),
        SLOT(Effect, get_EffectType, 17),
        SLOT(Effect, put_EffectType, 18),
        SLOT(Effect, get_EffectParameters, 19),
        SLOT(Effect, get_Behaviors, 27),
        SLOT(Timing, get_Duration, 9),
        SLOT(Timing, put_Duration, 10),
        SLOT(Timing, get_TriggerType, 11),
        SLOT(Timing, put_TriggerType, 12),
        SLOT(Timing, get_TriggerDelayTime, 13),
        SLOT(Timing, put_TriggerDelayTime, 14),
        SLOT(Timing, get_TriggerShape, 15),
        SLOT(Timing, put_TriggerShape, 16),
        SLOT(Timing, get_RepeatCount, 17),
        SLOT(Timing, put_RepeatCount, 18),
        SLOT(Timing, get_RepeatDuration, 19),
        SLOT(Timing, put_RepeatDuration, 20),
        SLOT(Timing, get_Speed, 21),
        SLOT(Timing, put_Speed, 22),
        SLOT(EffectParameters, get_Amount, 11),
        SLOT(EffectParameters, put_Amount, 12),
        SLOT(AnimationBehaviors, get_Count, 9),
        SLOT(AnimationBehaviors, Item, 12),
        SLOT(AnimationBehaviors, Add, 13),
        SLOT(AnimationBehavior, get_Type, 13),
        SLOT(AnimationBehavior, put_Type, 14),
        SLOT(AnimationBehavior, get_Timing, 20),
        SLOT(AnimationBehavior, Delete, 21),
        SLOT(AnimationBehavior, get_CommandEffect, 22),
        SLOT(AnimationBehavior, get_SetEffect, 24),
        SLOT(CommandEffect, get_Type, 9),
        SLOT(CommandEffect, put_Type, 10),
        SLOT(CommandEffect, get_Command, 11),
        SLOT(CommandEffect, put_Command, 12),
        SLOT(SetEffect, get_Property, 9),
        SLOT(SetEffect, put_Property, 10),
        SLOT(SetEffect, get_To, 11),
        SLOT(SetEffect, put_To, 12),
    };
}

TEST(InterfaceSlots, EveryUsedMemberSitsInItsPublishedSlot)
{
    for (const SlotCase& slot : Table())
        EXPECT_EQ(slot.actual, slot.published) << slot.member;
}

// Members that PowerPoint 2007 added are reached through IDispatch instead.
TEST(InterfaceSlots, NewerMembersUseTheirPublishedDispatchIds)
{
    EXPECT_EQ(PowerPoint::DISPID_SlideShowView_GetClickIndex, 2029);
    EXPECT_EQ(PowerPoint::DISPID_SlideShowView_GetClickCount, 2030);
    EXPECT_EQ(PowerPoint::DISPID_PlaceholderFormat_ContainedType, 2005);
    EXPECT_EQ(PowerPoint::DISPID_WindowSelectionChange, 2001);
    EXPECT_EQ(PowerPoint::DISPID_SlideShowNextClick, 2019);
    EXPECT_EQ(PowerPoint::DISPID_PresentationBeforeClose, 2025);
}

}  // namespace
