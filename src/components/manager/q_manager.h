#pragma once
#include "utils/q_util.h"
#include "utils/thread_util.h"

// FIFO of request bodies from the reader thread to the main loop's tick.
// The producer takes the lock blocking; the consumer only tries it. The queue
// owns every body from enqueue on: removing an item frees its body.
class QManager {
public:
    static QManager* getInstance();

    int enqueue(void* data) { return enqueue(0, data); }
    // 0, or -1 once the queue is closed: the body is then freed, not kept.
    int enqueue(int type, void* data);
    // Copies the front item; it stays queued, and its body stays valid,
    // until eraseBeginItem.
    int dequeue(uqitem_st& out);
    void* dequeue();
    void eraseBeginItem();
    void removeAll();
    // The consumer has stopped for good: every queued body is freed, and so
    // is every body enqueued later, so memory stays bounded whatever still
    // arrives. Only used on the consumer's stop path.
    void close();
    bool isClosed() const;
    int eraseNItemByQueueFull(int n);
    int getSize() const { return q_util_get_size(m_pList); }
    bool isEmpty() const { return q_util_is_empty(m_pList); }

    static QManager* m_pQManager;

private:
    QManager();
    uqlist* m_pList;
    ThreadUtilLockType::Enum m_lockKind = ThreadUtilLockType::QUEUE;
    bool m_bClosed = false; // under the lock
};
