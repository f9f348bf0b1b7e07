#pragma once
#include <pthread.h>

#include "components/msg_reader/msg_reader.h"
#include "threads/dequeue_thread/dequeue_thread.h"

// The reader thread: frames from the IDE into the request queue.
class EnqueueThread : public virtual IThread {
public:
    static EnqueueThread* getInstance();
    static void destroyInstance();
    ~EnqueueThread() override;

    int initThread();
    static void* Run(void* arg);
    pthread_t* getThreadId() { return &m_thread; }

    static const int THREAD_NOT_STARTED = -9999;
    // How the reader thread is started; replaceable so the failure path can be exercised.
    static int (*s_startThread)(pthread_t*, void* (*)(void*), void*);

private:
    EnqueueThread();
    static EnqueueThread* m_spEnqueueThread;
    pthread_t m_thread {};
    MsgReader* m_pMsgReader = nullptr;
};
