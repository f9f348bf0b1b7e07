#include <csignal>

#include "threads/dequeue_thread/dequeue_thread.h"
#include "threads/enqueue_thread.h"

namespace {

bool engine_proc()
{
    DequeueThread* consumer = DequeueThread::getInstance();
    bool ran = consumer->dispatchRendering();
    DequeueThread::destroyInstance();
    return ran;
}

} // namespace

int main(int, char**)
{
    // A peer that went away shows up as a send error, never as a signal.
    signal(SIGPIPE, SIG_IGN);
    if (!EnqueueThread::getInstance())
        return 0;
    engine_proc();
    EnqueueThread::destroyInstance();
    return 0;
}
