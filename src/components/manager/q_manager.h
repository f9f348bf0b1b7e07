#pragma once
#include "utils/q_util.h"
#include "utils/thread_util.h"

// FIFO of request bodies from the reader thread to the main loop's tick.
// The producer takes the lock blocking; the consumer only tries it.
class QManager {
public:
    static QManager* getInstance();

    int enqueue(void* data) { return enqueue(0, data); }
    int enqueue(int type, void* data);
    int dequeue(uqitem_st& out); // copies the front item; it stays queued
    void* dequeue();
    void eraseBeginItem();
    void removeAll();
    int eraseNItemByQueueFull(int n);
    int getSize() const { return q_util_get_size(m_pList); }
    bool isEmpty() const { return q_util_is_empty(m_pList); }

    static QManager* m_pQManager;

private:
    QManager();
    uqlist* m_pList;
    ThreadUtilLockType::Enum m_lockKind = ThreadUtilLockType::QUEUE;
};
