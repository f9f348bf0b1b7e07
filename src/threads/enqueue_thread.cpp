#include "threads/enqueue_thread.h"

#include "utils/log_util.h"
#include "utils/thread_util.h"

EnqueueThread* EnqueueThread::m_spEnqueueThread = nullptr;
int (*EnqueueThread::s_startThread)(pthread_t*, void* (*)(void*), void*) = thread_util_create;

EnqueueThread* EnqueueThread::getInstance()
{
    if (!m_spEnqueueThread)
        m_spEnqueueThread = new EnqueueThread;
    return m_spEnqueueThread;
}

void EnqueueThread::destroyInstance()
{
    delete m_spEnqueueThread;
}

EnqueueThread::EnqueueThread()
{
    initThread();
}

EnqueueThread::~EnqueueThread()
{
    m_spEnqueueThread = nullptr;
}

int EnqueueThread::initThread()
{
    // One reader serves both the handshake and the thread's frame loop.
    m_pMsgReader = MsgReader::getInstance();
    if (m_pMsgReader->acceptClient() < 0)
        return -1;
    if (s_startThread(&m_thread, EnqueueThread::Run, nullptr) != 0) {
        // Without a reader no request could ever arrive: say so and leave.
        diag("cannot start the reader thread; exiting");
        Connector::getInstance()->destroySock(THREAD_NOT_STARTED);
    }
    return 0;
}

void* EnqueueThread::Run(void*)
{
    MsgReader* reader = MsgReader::getInstance();
    while (reader->isConnected() && reader->read() >= 0) {
    }
    delete reader; // closes the sockets and ends the process
    return nullptr;
}
