#include <gtest/gtest.h>

#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVMovie.h"
#include "player/engine/PVSprite.h"
#include "player/engine/PVString.h"
#include "player/engine/PVTArray.h"

namespace {

// A character that reports its deletion.
class ProbeChar : public PVChar {
public:
    ProbeChar(int id, bool* deleted) : PVChar(kShape, id), deleted_(deleted) {}
    ~ProbeChar() override { *deleted_ = true; }

private:
    bool* deleted_;
};

TEST(Dictionary, StartsWith256EmptySlotsAndGrowsToTheId)
{
    PVCharDictionary dictionary;
    ASSERT_TRUE(dictionary.Init());
    EXPECT_EQ(dictionary.SlotCount(), 256);
    bool deleted = false;
    ASSERT_TRUE(dictionary.Add(new ProbeChar(300, &deleted)));
    EXPECT_EQ(dictionary.SlotCount(), 301);
    for (int id = 256; id < 300; ++id)
        EXPECT_EQ(dictionary.Get(id), nullptr);
    EXPECT_NE(dictionary.Get(300), nullptr);
    EXPECT_EQ(dictionary.Get(301), nullptr);
    EXPECT_EQ(dictionary.Get(-1), nullptr);
    EXPECT_EQ(dictionary.BackgroundColor().red, 255);
    EXPECT_EQ(dictionary.BackgroundColor().alpha, 255);
}

TEST(Dictionary, ReplacingReleasesTheOldCharacterUnlessHeldElsewhere)
{
    PVCharDictionary dictionary;
    ASSERT_TRUE(dictionary.Init());
    bool firstDeleted = false, secondDeleted = false, thirdDeleted = false;
    auto* first = new ProbeChar(5, &firstDeleted);
    ASSERT_TRUE(dictionary.Add(first));
    EXPECT_EQ(first->RefCount(), 1);
    ASSERT_TRUE(dictionary.Add(first));  // the same character again
    EXPECT_EQ(first->RefCount(), 1);
    ASSERT_TRUE(dictionary.Add(new ProbeChar(5, &secondDeleted)));
    EXPECT_TRUE(firstDeleted);

    PVChar* second = dictionary.Get(5);
    second->AddRef();  // as a display-list entry would
    ASSERT_TRUE(dictionary.Add(new ProbeChar(5, &thirdDeleted)));
    EXPECT_FALSE(secondDeleted);
    second->Release();
    EXPECT_TRUE(secondDeleted);
    EXPECT_FALSE(thirdDeleted);
}

TEST(Dictionary, RemoveAndRemoveAllDropOnlyTheDictionarysReferences)
{
    bool aDeleted = false, bDeleted = false, cDeleted = false;
    {
        PVCharDictionary dictionary;
        ASSERT_TRUE(dictionary.Init());
        auto* a = new ProbeChar(1, &aDeleted);
        ASSERT_TRUE(dictionary.Add(a));
        ASSERT_TRUE(dictionary.Add(new ProbeChar(2, &bDeleted)));
        ASSERT_TRUE(dictionary.Add(new ProbeChar(3, &cDeleted)));
        a->AddRef();
        EXPECT_TRUE(dictionary.Remove(1));
        EXPECT_FALSE(dictionary.Remove(1));
        EXPECT_FALSE(dictionary.Remove(4000));
        EXPECT_FALSE(aDeleted);
        dictionary.RemoveAll();
        EXPECT_TRUE(bDeleted);
        EXPECT_EQ(dictionary.SlotCount(), 256);
        EXPECT_EQ(dictionary.Get(2), nullptr);
        ASSERT_TRUE(dictionary.Add(new ProbeChar(3, &cDeleted)));
        cDeleted = false;
        a->Release();
        EXPECT_TRUE(aDeleted);
    }
    EXPECT_TRUE(cDeleted);  // the destructor releases what is left
}

TEST(Dictionary, SpriteReleasesItsMovie)
{
    auto* movie = new PVMovie(3);
    movie->AddRef();  // a clip playing the sprite
    auto* sprite = new PVSprite(9, movie);
    EXPECT_EQ(sprite->Type(), PVChar::kSprite);
    ASSERT_TRUE(sprite->SetName("walker", 6));
    EXPECT_TRUE(sprite->Name().Equals("walker", 6));
    sprite->Release();  // never stored: the creation reference goes
    EXPECT_EQ(movie->FrameCount(), 3);
    movie->Release();
}

TEST(MovieFrames, RecordsGrowTheCountButNotPastTheLastFrame)
{
    auto* movie = new PVMovie(2);
    EXPECT_EQ(movie->Frame(0), nullptr);
    EXPECT_TRUE(movie->AddRecord(4, new PVControlRecord(PVControlRecord::kRemoveByDepth)));
    EXPECT_EQ(movie->FrameCount(), 5);
    EXPECT_EQ(movie->Frame(3), nullptr);
    ASSERT_NE(movie->Frame(4), nullptr);
    EXPECT_TRUE(movie->AddRecord(PVMovie::kMaxFrames - 1, new PVControlRecord(PVControlRecord::kRemove)));
    EXPECT_EQ(movie->FrameCount(), 65535);
    EXPECT_FALSE(movie->AddRecord(PVMovie::kMaxFrames, new PVControlRecord(PVControlRecord::kRemove)));
    EXPECT_EQ(movie->FrameCount(), 65535);
    movie->Release();
}

TEST(Arrays, GrowByHalfFromEightAndTrim)
{
    PVTArray<int> array;
    ASSERT_TRUE(array.SetCount(1));
    EXPECT_EQ(array.Capacity(), 8);
    ASSERT_TRUE(array.SetCount(9));
    EXPECT_EQ(array.Capacity(), 12);
    ASSERT_TRUE(array.SetCount(40));
    EXPECT_EQ(array.Capacity(), 40);
    for (int i = 0; i < 40; ++i)
        array[i] = i;
    array.Trim(10);
    EXPECT_EQ(array.Count(), 10);
    EXPECT_EQ(array.Capacity(), 10);
    EXPECT_EQ(array[9], 9);
    ASSERT_TRUE(array.Allocate(-3));
    EXPECT_EQ(array.Count(), 0);
    EXPECT_EQ(array.Data(), nullptr);
    EXPECT_FALSE(array.SetCount(0x7FFFFFFF));  // too large to allocate
    EXPECT_EQ(array.Count(), 0);
    ASSERT_TRUE(array.Add(7));
    array.Trim(0);
    EXPECT_EQ(array.Capacity(), 0);
}

TEST(Strings, AssignCopiesWithTerminatorAndEmptyFrees)
{
    PVString s;
    EXPECT_STREQ(s.Data(), "");
    ASSERT_TRUE(s.Assign("hello", 5));
    EXPECT_STREQ(s.Data(), "hello");
    ASSERT_TRUE(s.Assign("hi", 2));
    EXPECT_EQ(s.Length(), 2);
    EXPECT_STREQ(s.Data(), "hi");
    EXPECT_TRUE(s.Equals("hi", 2));
    EXPECT_FALSE(s.Equals("Hi", 2));
    EXPECT_FALSE(s.Equals("hi!", 3));
    ASSERT_TRUE(s.Assign("a\0b", 3));
    EXPECT_EQ(s.Length(), 3);
    ASSERT_TRUE(s.Assign("", 0));
    EXPECT_TRUE(s.IsEmpty());
}

}  // namespace
