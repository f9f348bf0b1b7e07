#pragma once
#include <list>

#include "utils/heap_block.h"

// What the consumer gets: a copy of the front item. The body stays the queue's.
struct uqitem_st {
    int type = 0;
    void* data = nullptr;
};

// An item while it is queued: the queue owns its malloc block, which goes
// with the node however the node is removed.
struct uqnode {
    int type = 0;
    HeapBlock<> data;
};

using uqlist = std::list<uqnode>;

// Plain list operations; the caller does the locking. Pushing hands the
// item's block to the list; every removal frees the removed blocks.
uqlist* q_util_create();
void q_util_destroy(uqlist* list);
void q_util_push_back(uqlist* list, const uqitem_st* item);
void q_util_push_front(uqlist* list, const uqitem_st* item);
void q_util_pop_front(uqlist* list);
void q_util_pop_back(uqlist* list);
void q_util_front(uqlist* list, uqitem_st& out);
void q_util_back(uqlist* list, uqitem_st& out);
void q_util_erase(uqlist* list, uqlist::iterator it);
uqlist::iterator q_util_get_begin_iter(uqlist* list);
bool q_util_is_empty(const uqlist* list);
int q_util_get_size(const uqlist* list);
void q_util_all_clear(uqlist* list);
