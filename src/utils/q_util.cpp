#include "utils/q_util.h"

uqlist* q_util_create() { return new uqlist; }
void q_util_destroy(uqlist* list) { delete list; }
void q_util_push_back(uqlist* list, const uqitem_st* item) { list->push_back({ item->type, HeapBlock<>(item->data) }); }
void q_util_push_front(uqlist* list, const uqitem_st* item) { list->push_front({ item->type, HeapBlock<>(item->data) }); }

void q_util_pop_front(uqlist* list)
{
    if (!list->empty())
        list->pop_front();
}

void q_util_pop_back(uqlist* list)
{
    if (!list->empty())
        list->pop_back();
}

void q_util_front(uqlist* list, uqitem_st& out)
{
    if (!list->empty())
        out = { list->front().type, list->front().data.get() };
}

void q_util_back(uqlist* list, uqitem_st& out)
{
    if (!list->empty())
        out = { list->back().type, list->back().data.get() };
}

void q_util_erase(uqlist* list, uqlist::iterator it)
{
    if (!list->empty())
        list->erase(it);
}

uqlist::iterator q_util_get_begin_iter(uqlist* list) { return list->begin(); }
bool q_util_is_empty(const uqlist* list) { return list->empty(); }
int q_util_get_size(const uqlist* list) { return int(list->size()); }
void q_util_all_clear(uqlist* list) { list->clear(); }
