#pragma once
#include <list>

struct uqitem_st {
    int type = 0;
    void* data = nullptr;
};

using uqlist = std::list<uqitem_st>;

// Plain list operations; the caller does the locking.
uqlist* q_util_create();
void q_util_destroy(uqlist* list);
void q_util_push_back(uqlist* list, const uqitem_st* item);
void q_util_push_front(uqlist* list, const uqitem_st* item);
void q_util_pop_front(uqlist* list); // frees the item's data
void q_util_pop_back(uqlist* list);
void q_util_front(uqlist* list, uqitem_st& out);
void q_util_back(uqlist* list, uqitem_st& out);
void q_util_erase(uqlist* list, uqlist::iterator it);
uqlist::iterator q_util_get_begin_iter(uqlist* list);
bool q_util_is_empty(const uqlist* list);
int q_util_get_size(const uqlist* list);
void q_util_all_clear(uqlist* list);
