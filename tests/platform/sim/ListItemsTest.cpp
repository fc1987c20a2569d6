// The list model behind list boxes and combo boxes: sorted insertion, the
// current item as items come and go, and searching.
#include <gtest/gtest.h>

#include "platform/sim/ListItems.h"

namespace {

using sim::ListItems;

std::vector<std::u16string> Texts(const ListItems& list) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < list.Count(); ++i) {
        texts.push_back(list.At(i)->text);
    }
    return texts;
}

TEST(ListItems, SortedListOrdersWithoutCaseAndKeepsEqualTextsInArrivalOrder) {
    ListItems list(true);
    // The Options dialog's hot-key list: already in order, it must stay so.
    for (const char16_t* text : {u"(NONE)", u"ACTION", u"APP1", u"APP2"}) {
        list.Add(text);
    }
    EXPECT_EQ(list.Add(u"apple"), 4);
    EXPECT_EQ(list.Add(u"Able"), 1);
    const int first = list.Add(u"same");
    const int second = list.Add(u"SAME");
    EXPECT_EQ(second, first + 1);
    EXPECT_EQ(Texts(list), (std::vector<std::u16string>{u"(NONE)", u"Able", u"ACTION", u"APP1",
                                                        u"APP2", u"apple", u"same", u"SAME"}));
}

TEST(ListItems, UnsortedListAddsAtTheEndAndInsertGoesWhereAsked) {
    ListItems list(false);
    list.Add(u"b");
    list.Add(u"a");
    EXPECT_EQ(list.Insert(0, u"first"), 0);
    EXPECT_EQ(list.Insert(-1, u"last"), 3);
    EXPECT_EQ(list.Insert(9, u"nowhere"), -1);
    EXPECT_EQ(Texts(list), (std::vector<std::u16string>{u"first", u"b", u"a", u"last"}));
}

TEST(ListItems, CurrentItemFollowsInsertionsAndIsClearedWhenRemoved) {
    ListItems list(false);
    list.Add(u"a");
    list.Add(u"b");
    list.Add(u"c");
    ASSERT_TRUE(list.SetCurrent(1));
    list.Insert(0, u"new");
    EXPECT_EQ(list.Current(), 2);
    EXPECT_EQ(list.At(list.Current())->text, u"b");
    EXPECT_EQ(list.Remove(0), 3);
    EXPECT_EQ(list.Current(), 1);
    EXPECT_EQ(list.Remove(1), 2);
    EXPECT_EQ(list.Current(), -1);
    EXPECT_EQ(list.Remove(5), -1);
    EXPECT_FALSE(list.SetCurrent(2));
    EXPECT_FALSE(list.SetCurrent(-2));
    EXPECT_EQ(list.Current(), -1);
}

TEST(ListItems, SearchesWrapRoundFromTheItemAfterTheStart) {
    ListItems list(false);
    for (const char16_t* text : {u"Alpha", u"beta", u"alphabet", u"Gamma"}) {
        list.Add(text);
    }
    EXPECT_EQ(list.FindPrefix(-1, u"ALP"), 0);
    EXPECT_EQ(list.FindPrefix(0, u"alp"), 2);
    EXPECT_EQ(list.FindPrefix(2, u"alp"), 0);
    EXPECT_EQ(list.FindExact(-1, u"ALPHA"), 0);
    EXPECT_EQ(list.FindExact(0, u"alpha"), 0) << "the only match is found again after wrapping";
    EXPECT_EQ(list.FindExact(-1, u"alp"), -1);
    EXPECT_EQ(list.FindPrefix(-1, u"delta"), -1);
    EXPECT_EQ(list.FindPrefix(-1, u""), 0);
    EXPECT_EQ(ListItems(true).FindPrefix(-1, u"a"), -1);
}

TEST(ListItems, TopIndexStaysWithinTheItemsAndFollowsEnsureVisible) {
    ListItems list(false);
    for (int i = 0; i < 10; ++i) {
        list.Add(u"item");
    }
    list.EnsureVisible(7, 3);
    EXPECT_EQ(list.Top(), 5);
    list.EnsureVisible(2, 3);
    EXPECT_EQ(list.Top(), 2);
    list.SetTop(40);
    EXPECT_EQ(list.Top(), 9);
    for (int i = 0; i < 6; ++i) {
        list.Remove(0);
    }
    EXPECT_EQ(list.Top(), 3);
    list.Clear();
    EXPECT_EQ(list.Top(), 0);
    EXPECT_EQ(list.Current(), -1);
}

} // namespace
