#include "base/MKBstrHolder.h"
#include "base/MKComHolder.h"
#include "base/MKPointerArrays.h"
#include "base/MKRefHolder.h"
#include "base/MKSafeArray.h"
#include "base/MKString.h"

#include <gtest/gtest.h>

namespace {

// Reports its destruction and what a holder watching it showed at that moment.
class Watched : public MKRefClass {
public:
    Watched(bool* deleted, MKRefHolder<Watched>* watcher = nullptr) : m_deleted(deleted), m_watcher(watcher) {}
    ~Watched() override
    {
        *m_deleted = true;
        if (m_watcher) {
            EXPECT_EQ(nullptr, m_watcher->Get()) << "holder still pointed at a dying object";
        }
    }

private:
    bool* m_deleted;
    MKRefHolder<Watched>* m_watcher;
};

TEST(RefHolder, LastReleaseDeletesAfterTheHolderIsEmpty)
{
    bool deleted = false;
    MKRefHolder<Watched> holder;
    holder.Attach(new Watched(&deleted, &holder));
    EXPECT_EQ(1, holder->GetRefCount());
    holder.Reset();
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(holder);
    holder.Reset();  // an empty holder does nothing
}

TEST(RefHolder, AssignTakesTheNewReferenceFirst)
{
    bool deleted = false;
    Watched* object = new Watched(&deleted);
    MKRefHolder<Watched> a, b;
    a.Attach(object);
    a.AssignPointer(object);  // the same pointer changes nothing
    EXPECT_EQ(1, object->GetRefCount());
    b.CopyFrom(a);
    EXPECT_EQ(2, object->GetRefCount());
    MKRefHolder<Watched> c(b);
    EXPECT_EQ(3, object->GetRefCount());
    b = c;
    EXPECT_EQ(3, object->GetRefCount());
    a.Release();
    b.Release();
    EXPECT_FALSE(deleted);
    c.AssignPointer(nullptr);
    EXPECT_TRUE(deleted);
}

TEST(RefHolder, AttachOfTheHeldObjectDropsTheExtraReference)
{
    bool deleted = false;
    MKRefHolder<Watched> holder;
    Watched* object = new Watched(&deleted);
    holder.Attach(object);
    object->AddRef();
    holder.Attach(object);
    EXPECT_EQ(1, object->GetRefCount());
    holder.Reset();
    EXPECT_TRUE(deleted);
}

class CountedUnknown : public IUnknown {
public:
    ULONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

TEST(ComHolder, CountsReferences)
{
    CountedUnknown a, b;
    {
        MKComHolder<IUnknown> holder(&a);
        EXPECT_EQ(2u, a.refs);
        holder.Assign(&a);
        EXPECT_EQ(2u, a.refs);
        MKComHolder<IUnknown> copy(holder);
        EXPECT_EQ(3u, a.refs);
        copy.Assign(&b);
        EXPECT_EQ(2u, a.refs);
        EXPECT_EQ(2u, b.refs);
        b.AddRef();
        copy.Attach(&b);  // takes over the caller's reference
        EXPECT_EQ(2u, b.refs);
        holder.Release();
        EXPECT_EQ(nullptr, holder.Get());
        EXPECT_EQ(1u, a.refs);
    }
    EXPECT_EQ(1u, b.refs);
}

TEST(SafeArray, CreatesAccessesAndDestroysOwnedArrays)
{
    MKSafeArray array(VT_I4);
    ASSERT_TRUE(array.Create(3));
    EXPECT_EQ(3, array.GetCount());
    LONG* data = static_cast<LONG*>(array.AccessData());
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(data, array.AccessData());
    data[2] = 42;
    array.Unaccess();
    LONG index = 2, value = 0;
    ASSERT_EQ(S_OK, SafeArrayGetElement(array.Get(), &index, &value));
    EXPECT_EQ(42, value);
    EXPECT_TRUE(array.Create(0));
    EXPECT_EQ(nullptr, array.Get());
    EXPECT_EQ(nullptr, array.AccessData());
}

TEST(SafeArray, BorrowedArraysSurviveTheHolder)
{
    SAFEARRAY* owned = SafeArrayCreateVector(VT_UI1, 1, 5);
    ASSERT_NE(nullptr, owned);
    {
        MKSafeArray borrowed(VT_UI1);
        borrowed.Attach(owned, false);
        EXPECT_EQ(5, borrowed.GetCount());
        ASSERT_NE(nullptr, borrowed.AccessData());
        ASSERT_TRUE(borrowed.Create(2));  // drops the borrowed array without destroying it
        EXPECT_NE(owned, borrowed.Get());
    }
    // Still alive and no longer locked.
    EXPECT_EQ(S_OK, SafeArrayDestroy(owned));
}

TEST(SafeArray, DetachHandsOverOwnership)
{
    MKSafeArray array(VT_BSTR);
    ASSERT_TRUE(array.Create(1));
    ASSERT_NE(nullptr, array.AccessData());
    SAFEARRAY* taken = array.Detach();
    EXPECT_EQ(nullptr, array.Get());
    EXPECT_EQ(S_OK, SafeArrayDestroy(taken));
}

TEST(BstrHolderTest, OwnsOneAutomationString)
{
    MKBstrHolder holder;
    EXPECT_TRUE(holder.IsEmpty());
    EXPECT_EQ(0, holder.ToString().GetLength());
    *holder.Receive() = SysAllocStringLen(L"a\0b", 3);
    EXPECT_FALSE(holder.IsEmpty());
    MKString text = holder.ToString();
    EXPECT_EQ(3, text.GetLength());
    EXPECT_EQ(L'b', text[2]);
    *holder.Receive() = SysAllocString(L"");  // the old string is freed first
    EXPECT_TRUE(holder.IsEmpty());
    holder.Empty();
    EXPECT_EQ(nullptr, holder.Get());
}

struct Record {
    MKTArray<Record*>* owner;
    int index;
    static int s_deleted;
    Record(MKTArray<Record*>* o, int i) : owner(o), index(i) {}
    virtual ~Record()
    {
        EXPECT_EQ(nullptr, (*owner)[index]) << "slot still held the dying element";
        ++s_deleted;
    }
};
int Record::s_deleted = 0;

TEST(PointerArrays, DeleteAllNullsEachSlotFirst)
{
    MKTArray<Record*> array;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(array.Add(new Record(&array, i)));
    ASSERT_TRUE(array.Add(nullptr));
    MKDeleteAllItems(array);
    EXPECT_EQ(3, Record::s_deleted);
    EXPECT_EQ(0, array.GetCount());
    EXPECT_EQ(0, array.GetCapacity());
}

TEST(PointerArrays, ReleaseAllDropsOneReferenceEach)
{
    bool deletedA = false, deletedB = false;
    Watched* a = new Watched(&deletedA);
    Watched* b = new Watched(&deletedB);
    b->AddRef();
    MKTArray<Watched*> array;
    ASSERT_TRUE(array.Add(a));
    ASSERT_TRUE(array.Add(b));
    MKReleaseAllItems(array);
    EXPECT_TRUE(deletedA);
    EXPECT_FALSE(deletedB);
    EXPECT_EQ(0, array.GetCapacity());
    b->Release();
    EXPECT_TRUE(deletedB);
}

}  // namespace
