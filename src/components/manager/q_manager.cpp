#include "components/manager/q_manager.h"

QManager* QManager::m_pQManager = nullptr;

QManager* QManager::getInstance()
{
    if (!m_pQManager)
        m_pQManager = new QManager;
    return m_pQManager;
}

QManager::QManager() : m_pList(q_util_create())
{
    thread_util_lock_init(m_lockKind);
}

int QManager::enqueue(int type, void* data)
{
    HeapBlock<> body(data);
    thread_util_lock(m_lockKind);
    bool closed = m_bClosed;
    if (!closed) {
        uqitem_st item { type, body.release() };
        q_util_push_back(m_pList, &item);
    }
    thread_util_unlock(m_lockKind);
    return closed ? -1 : 0;
}

int QManager::dequeue(uqitem_st& out)
{
    if (thread_util_trylock(m_lockKind) != 0)
        return 0;
    bool empty = q_util_is_empty(m_pList);
    if (!empty)
        q_util_front(m_pList, out);
    thread_util_unlock(m_lockKind);
    return empty ? 0 : 1;
}

void* QManager::dequeue()
{
    uqitem_st item;
    return dequeue(item) ? item.data : nullptr;
}

void QManager::eraseBeginItem()
{
    thread_util_lock(m_lockKind);
    if (!q_util_is_empty(m_pList))
        q_util_erase(m_pList, q_util_get_begin_iter(m_pList));
    thread_util_unlock(m_lockKind);
}

// The list object itself stays in place (empty), so the reader thread can
// keep appending safely after the consumer gave up.
void QManager::removeAll()
{
    thread_util_lock(m_lockKind);
    q_util_all_clear(m_pList);
    thread_util_unlock(m_lockKind);
}

void QManager::close()
{
    thread_util_lock(m_lockKind);
    m_bClosed = true;
    q_util_all_clear(m_pList);
    thread_util_unlock(m_lockKind);
}

bool QManager::isClosed() const
{
    thread_util_lock(m_lockKind);
    bool closed = m_bClosed;
    thread_util_unlock(m_lockKind);
    return closed;
}

int QManager::eraseNItemByQueueFull(int n)
{
    thread_util_lock(m_lockKind);
    int size = q_util_get_size(m_pList);
    if (size > 10) {
        for (int i = 0; i < n; ++i)
            q_util_pop_front(m_pList);
        size = n;
    }
    thread_util_unlock(m_lockKind);
    return size;
}
