// Shape scans over a stand-in slide: content shapes by their tags and types,
// related shapes by identity, the content trigger and embedded presentations.
#include "AddInTestSupport.h"
#include "fixtures/ComScope.h"

#include "addin/core/EffectTypeLookup.h"
#include "addin/core/PptShapeRef.h"
#include "addin/core/ShapeScanner.h"
#include "addin/core/ShapeVisit.h"
#include "base/MKHashMap.h"
#include "base/MKPointerArrays.h"
#include "base/MKString.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using standin::CallLog;
using standin::ShapeObject;

namespace {

// Two registered content types; the records are only compared, never read.
class TypeRegistry final : public EffectTypeLookup {
public:
    EffectDataRecord* FindEffectTypeByContentType(BSTR contentType) override
    {
        ++lookups;
        auto found = records.find(contentType ? contentType : L"");
        return found == records.end() ? nullptr : found->second;
    }

    EffectDataRecord* Movie() { return Record(0); }
    EffectDataRecord* Image() { return Record(1); }

    int lookups = 0;

private:
    EffectDataRecord* Record(int i) { return reinterpret_cast<EffectDataRecord*>(&m_storage[i]); }

    int m_storage[2] = {};
    std::map<std::wstring, EffectDataRecord*> records = {{L"movie", Record(0)}, {L"image", Record(1)}};
};

// The count of references the object holds right now.
ULONG Refs(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

class ShapeScanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        presentation = host.App().AddPresentation(L"Scan.pptx");
        slide = presentation->AddSlide();
        slideRef.Assign(static_cast<PowerPoint::Slide*>(slide));
    }
    void TearDown() override
    {
        CallLog::Get().ClearFailures();
        MKDeleteAllItems(list);
        related.DisposeAllValues([](void* visit) { delete static_cast<ShapeVisit*>(visit); });
    }

    ShapeObject* Shape(ShapeObject* group, long type, const std::wstring& name,
                       std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> tags = {})
    {
        ShapeObject* shape = group ? group->AddChild(type, name, 0, 0, 10, 10)
                                   : slide->AddShape(type, name, 0, 0, 10, 10);
        for (const auto& [tag, value] : tags)
            shape->Tags()->Set(tag, value);
        return shape;
    }

    std::vector<std::wstring> ListedNames() const
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < list.GetCount(); ++i)
            names.push_back(ShapeObject::FromInterface(list[i]->shape.Get())->Name());
        return names;
    }

    ComScope com;
    standin::PowerPointHost host{L"14.0"};
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* slide = nullptr;
    PptObjectRef slideRef;
    TypeRegistry types;
    ShapeScanner scanner{types};
    MKTArray<ShapeVisit*> list;
    MKHashMap related;
};

TEST_F(ShapeScanTest, FindsContentRelatedShapesTheTriggerAndEmbeddedShowsAtAnyDepth)
{
    ShapeObject* movie = Shape(nullptr, PowerPoint::msoAutoShape, L"Movie", {{L"_VQZ_CT", L"movie"}});
    Shape(nullptr, PowerPoint::msoAutoShape, L"Plain");
    Shape(nullptr, PowerPoint::msoAutoShape, L"Unregistered", {{L"_VQZ_CT", L"sound"}});
    Shape(nullptr, PowerPoint::msoTextBox, L"TextBox", {{L"_VQZ_CT", L"movie"}});
    Shape(nullptr, PowerPoint::msoAutoShape, L"Related", {{L"_VQZ_CTR", L"movie"}, {L"_VQZ_GUID", L"{G1}"}});
    Shape(nullptr, PowerPoint::msoAutoShape, L"SameIdentity", {{L"_VQZ_CTR", L"image"}, {L"_VQZ_GUID", L"{G1}"}});
    Shape(nullptr, PowerPoint::msoAutoShape, L"NoIdentity", {{L"_VQZ_CTR", L"movie"}, {L"_VQZ_GUID", L""}});
    ShapeObject* triggerShape = Shape(nullptr, PowerPoint::msoEmbeddedOLEObject, L"Trigger", {{L"_VQZ_CTT", L"on"}});
    triggerShape->SetOle(L"ShockwaveFlash.ShockwaveFlash", nullptr);
    Shape(nullptr, PowerPoint::msoEmbeddedOLEObject, L"SecondTrigger", {{L"_VQZ_CTT", L"on"}})
        ->SetOle(L"PowerPoint.Show.12", nullptr);
    ShapeObject* show = Shape(nullptr, PowerPoint::msoEmbeddedOLEObject, L"Show");
    show->SetOle(L"powerpoint.show.8", nullptr);
    ShapeObject* outer = Shape(nullptr, PowerPoint::msoGroup, L"Outer");
    Shape(outer, PowerPoint::msoAutoShape, L"InOuter", {{L"_VQZ_CT", L"movie"}});
    ShapeObject* inner = Shape(outer, PowerPoint::msoGroup, L"Inner");
    Shape(inner, PowerPoint::msoAutoShape, L"Deep", {{L"_VQZ_CT", L"image"}});
    Shape(inner, PowerPoint::msoAutoShape, L"DeepRelated", {{L"_VQZ_CTR", L"image"}, {L"_VQZ_GUID", L"{G2}"}});
    // A group after the embedded show, without one, keeps the flag set.
    Shape(Shape(nullptr, PowerPoint::msoGroup, L"Later"), PowerPoint::msoEmbeddedOLEObject, L"Chart")
        ->SetOle(L"MSGraph.Chart.8", nullptr);

    IUnknown* watched[] = {slideRef.Get(), static_cast<PowerPoint::Shape*>(movie),
                           static_cast<PowerPoint::Shape*>(triggerShape), static_cast<PowerPoint::Shape*>(show),
                           static_cast<PowerPoint::Shape*>(outer)};
    std::vector<ULONG> before;
    for (IUnknown* object : watched)
        before.push_back(Refs(object));

    PptShapeRef trigger;
    uint8_t hasEmbeddedShow = 7;
    scanner.ScanShapes(slideRef.Get(), list, &related, &trigger, &hasEmbeddedShow);

    EXPECT_EQ(ListedNames(), (std::vector<std::wstring>{L"Movie", L"InOuter", L"Deep"}));
    EXPECT_EQ(list[0]->effectType, types.Movie());
    EXPECT_EQ(list[2]->effectType, types.Image());
    EXPECT_EQ(list[2]->container.Get(), slideRef.Get());
    EXPECT_EQ(list[2]->index, -1);

    EXPECT_EQ(related.GetCount(), 2);
    MKHashNode* first = related.Find(MKString(L"{G1}"));
    ASSERT_NE(first, nullptr);
    auto* visit = static_cast<ShapeVisit*>(first->value);
    EXPECT_EQ(ShapeObject::FromInterface(visit->shape.Get())->Name(), L"Related");
    EXPECT_EQ(visit->effectType, types.Movie());
    ASSERT_NE(related.Find(MKString(L"{G2}")), nullptr);

    EXPECT_EQ(ShapeObject::FromInterface(trigger.Get())->Name(), L"Trigger");
    EXPECT_EQ(hasEmbeddedShow, 1);

    // The visits and the trigger hold the only references the scan kept.
    MKDeleteAllItems(list);
    related.DisposeAllValues([](void* visit) { delete static_cast<ShapeVisit*>(visit); });
    trigger.Release();
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(Refs(watched[i]), before[i]) << "object " << i;
}

TEST_F(ShapeScanTest, WithoutATriggerHolderATaggedObjectIsCheckedForAnEmbeddedShow)
{
    Shape(nullptr, PowerPoint::msoEmbeddedOLEObject, L"Tagged", {{L"_VQZ_CTT", L"on"}})
        ->SetOle(L"PowerPoint.Show.12", nullptr);
    Shape(nullptr, PowerPoint::msoAutoShape, L"Movie", {{L"_VQZ_CT", L"movie"}});
    uint8_t hasEmbeddedShow = 0;
    scanner.ScanShapes(slideRef.Get(), list, nullptr, nullptr, &hasEmbeddedShow);
    EXPECT_EQ(hasEmbeddedShow, 1);
    EXPECT_EQ(ListedNames(), std::vector<std::wstring>{L"Movie"});

    // A linked presentation is no embedded one; a short ProgID is no match.
    MKDeleteAllItems(list);
    slide->ShapeItems().At(0)->SetOle(L"PowerPoint.Sho", nullptr);
    Shape(nullptr, PowerPoint::msoLinkedOLEObject, L"Linked")->SetOle(L"Excel.Sheet.12", nullptr);
    scanner.ScanShapes(slideRef.Get(), list, nullptr, nullptr, &hasEmbeddedShow);
    EXPECT_EQ(hasEmbeddedShow, 0);
}

TEST_F(ShapeScanTest, UnreadableShapesAreSkippedAndAFailingCollectionEndsItsScan)
{
    Shape(nullptr, PowerPoint::msoAutoShape, L"A", {{L"_VQZ_CT", L"movie"}});
    Shape(nullptr, PowerPoint::msoAutoShape, L"B", {{L"_VQZ_CT", L"movie"}});
    Shape(nullptr, PowerPoint::msoAutoShape, L"C", {{L"_VQZ_CT", L"image"}});
    ShapeObject* group = Shape(nullptr, PowerPoint::msoGroup, L"Group");
    Shape(group, PowerPoint::msoAutoShape, L"D", {{L"_VQZ_CT", L"image"}});

    CallLog::Get().Fail(L"Shapes.Item", E_FAIL, 0, 1);
    CallLog::Get().Fail(L"Shape.get_Type", E_FAIL, 0, 1);  // the second shape
    scanner.ScanShapes(slideRef.Get(), list, nullptr, nullptr, nullptr);
    EXPECT_EQ(ListedNames(), (std::vector<std::wstring>{L"C", L"D"}));

    MKDeleteAllItems(list);
    CallLog::Get().ClearFailures();
    CallLog::Get().Fail(L"GroupShapes.get_Count", E_FAIL);
    scanner.ScanShapes(slideRef.Get(), list, nullptr, nullptr, nullptr);
    EXPECT_EQ(ListedNames(), (std::vector<std::wstring>{L"A", L"B", L"C"}));

    MKDeleteAllItems(list);
    CallLog::Get().Fail(L"Slide.get_Shapes", E_FAIL);
    scanner.ScanShapes(slideRef.Get(), list, nullptr, nullptr, nullptr);
    EXPECT_TRUE(list.IsEmpty());
    PptObjectRef empty;
    scanner.ScanShapes(empty.Get(), list, nullptr, nullptr, nullptr);
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(ShapeScanTest, AGroupsItemsAreScannedAsOneCollectionOfTheSlide)
{
    Shape(nullptr, PowerPoint::msoAutoShape, L"Outside", {{L"_VQZ_CT", L"movie"}});
    ShapeObject* group = Shape(nullptr, PowerPoint::msoGroup, L"Group");
    Shape(group, PowerPoint::msoAutoShape, L"Inside", {{L"_VQZ_CT", L"image"}});
    Shape(group, PowerPoint::msoEmbeddedOLEObject, L"Chart")->SetOle(L"MSGraph.Chart.8", nullptr);
    PptShapeRef groupRef;
    groupRef.Assign(static_cast<PowerPoint::Shape*>(group));
    PptShapeRef items;
    ASSERT_TRUE(groupRef.GetGroupItems(items));

    uint8_t hasEmbeddedShow = 1;
    scanner.ScanShapeCollection(items.Get(), slideRef.Get(), list, nullptr, nullptr, &hasEmbeddedShow);
    EXPECT_EQ(ListedNames(), std::vector<std::wstring>{L"Inside"});
    EXPECT_EQ(list[0]->container.Get(), slideRef.Get());
    EXPECT_EQ(hasEmbeddedShow, 0);
}

TEST_F(ShapeScanTest, ContentTypesOfSingleShapes)
{
    ShapeObject* movie = Shape(nullptr, PowerPoint::msoAutoShape, L"Movie",
                               {{L"_VQZ_CT", L"movie"}, {L"_VQZ_CTR", L"image"}, {L"_VQZ_GUID", L"{G}"}});
    ShapeObject* picture = Shape(nullptr, PowerPoint::msoPicture, L"Picture", {{L"_VQZ_CT", L"movie"}});
    PptShapeRef ref;
    ref.Assign(static_cast<PowerPoint::Shape*>(movie));
    EXPECT_EQ(scanner.GetContentTypeOfShape(ref, 0), types.Movie());
    EXPECT_EQ(scanner.GetContentTypeOfShape(ref, PowerPoint::msoPicture), nullptr);
    MKString guid;
    EXPECT_EQ(scanner.GetRelatedContentTypeOfShape(ref, PowerPoint::msoAutoShape, guid), types.Image());
    EXPECT_TRUE(guid.EqualsText(L"{G}"));
    ref.Assign(static_cast<PowerPoint::Shape*>(picture));
    int before = types.lookups;
    EXPECT_EQ(scanner.GetContentTypeOfShape(ref, 0), nullptr);
    EXPECT_EQ(types.lookups, before);  // not an AutoShape: its tags are not read
}

}  // namespace
