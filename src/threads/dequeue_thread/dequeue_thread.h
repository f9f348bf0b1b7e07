#pragma once
#include <Ecore.h>

#include <memory>

#include "components/connector/buffer.h"
#include "components/manager/q_manager.h"
#include "components/messages/msg.h"

class IThread {
public:
    virtual ~IThread() = default;
};

// The main-loop consumer: a 0.05 s timer that executes at most one queued request per tick.
class DequeueThread : public virtual IThread {
public:
    static DequeueThread* getInstance();
    static void destroyInstance();
    ~DequeueThread() override;

    int initThread();
    static void startEflRenderCmdTimer();
    static void stopEflRenderCmdTimer();
    static Eina_Bool Run(void* data);
    static std::unique_ptr<IMsg> doMsgHandler();
    // The message of the body m_pBufferBody points at, or null.
    static std::unique_ptr<IMsg> createMsgHandler();
    // After a command: draw what it changed as soon as the main loop is idle.
    static void renderWhenIdle();
    // Before a command: draw what the one before changed, if that is still due.
    static void renderPending();
    bool dispatchRendering();
    int* getThreadId() { return &m_iThreadId; }

    static QManager* m_pQManager;
    static std::unique_ptr<Buffer> m_pBufferBody; // a view of the body being run
    static int m_iMsgType;
    static Ecore_Timer* m_pEcoreTimer;

    static constexpr double TICK_SECONDS = 0.05;

private:
    DequeueThread();
    static DequeueThread* m_spDequeueThread;
    int m_bInitialised = 0;
    int m_iThreadId = 0;
};
