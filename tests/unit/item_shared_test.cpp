// The two item-node shapes and the bounded text copy every item kind uses.
#include <cstring>

#include "components/adapters/item_shared.h"
#include "toolkit_fixture.h"

namespace {

class ItemNodes : public ToolkitTest {};

TEST_F(ItemNodes, TrackingNodeCarriesItsItemAndIsReleasedOnce)
{
    Evas_Object* list = elm_list_add(win);
    Elm_Object_Item* item = elm_list_item_append(list, "a", nullptr, nullptr, nullptr, nullptr);
    Evas_Object* node = item_track_node(item, list);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node_item(node), item);
    EXPECT_EQ(node_container(node), list);
    bool deleted = false;
    evas_object_event_callback_add(
        node, EVAS_CALLBACK_DEL, [](void* flag, Evas*, Evas_Object*, void*) { *static_cast<bool*>(flag) = true; },
        &deleted);
    EXPECT_TRUE(item_track_node_remove(node));
    EXPECT_TRUE(deleted) << "untracking releases the tracking object";
    EXPECT_EQ(elm_list_items_get(list), nullptr) << "the item is deleted with its node";
    EXPECT_FALSE(item_track_node_remove(nullptr));
    evas_object_del(list);
}

TEST_F(ItemNodes, ItemParentCheckNamesTheExpectedType)
{
    Evas_Object* box = elm_box_add(win);
    EXPECT_FALSE(item_parent_is(box, "Elm_List"));
    EXPECT_NE(adapter_take_refusal().find("Elm_List"), std::string::npos);
    EXPECT_FALSE(item_parent_is(nullptr, "Elm_List"));
    adapter_take_refusal();
    Evas_Object* list = elm_list_add(win);
    EXPECT_TRUE(item_parent_is(list, "Elm_List"));
    EXPECT_EQ(adapter_take_refusal(), "");
    evas_object_del(box);
    evas_object_del(list);
}

// Whichever of carrier and item goes first, the other is left without a
// dangling link.
TEST_F(ItemNodes, CarrierAndItemUnlinkWhicheverGoesFirst)
{
    Evas_Object* flip = elm_flipselector_add(win);
    Elm_Object_Item* first = elm_flipselector_item_append(flip, "1", nullptr, nullptr);
    Evas_Object* carrier = item_carrier_add(flip, first, true);
    ASSERT_NE(carrier, nullptr);
    EXPECT_EQ(node_item(carrier), first);
    EXPECT_EQ(node_container(carrier), flip);
    elm_object_item_del(first);
    EXPECT_EQ(node_item(carrier), nullptr) << "a deleted item leaves the carrier";

    Elm_Object_Item* second = elm_flipselector_item_append(flip, "2", nullptr, nullptr);
    item_carrier_rebind(carrier, second);
    EXPECT_EQ(node_item(carrier), second);
    evas_object_del(carrier);
    EXPECT_EQ(elm_object_item_data_get(second), nullptr) << "a deleted carrier leaves the item";
    evas_object_del(flip); // deletes `second`: its callback must not reach the freed carrier
}

TEST(Utf8Copy, CutsAtTheLastWholeCharacter)
{
    char buf[6];
    utf8_copy(buf, sizeof buf, "abc");
    EXPECT_STREQ(buf, "abc");
    utf8_copy(buf, sizeof buf, "abcdefgh");
    EXPECT_STREQ(buf, "abcde");
    // "ab" then a three-byte character that would be cut after its first byte...
    utf8_copy(buf, sizeof buf, "abc\xE2\x82\xAC");
    EXPECT_STREQ(buf, "abc");
    // ...and one that fits exactly.
    utf8_copy(buf, sizeof buf, "ab\xE2\x82\xACz");
    EXPECT_STREQ(buf, "ab\xE2\x82\xAC");
    utf8_copy(buf, sizeof buf, nullptr);
    EXPECT_STREQ(buf, "");
}

} // namespace
