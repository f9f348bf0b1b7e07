#pragma once
// Work that runs once the main loop is next idle, however often it is asked
// for, and that the dispatcher can run at once before the next request
// instead, so that no answer depends on whether an idle moment came.
#include <Ecore.h>

class IdleOnce {
public:
    explicit constexpr IdleOnce(void (*work)()) : m_work(work) {}

    void schedule()
    {
        if (!m_idler)
            m_idler = ecore_idler_add(fire, this);
    }
    // Drops a pending run; the work itself may still be called directly.
    void cancel()
    {
        if (m_idler)
            ecore_idler_del(m_idler);
        m_idler = nullptr;
    }
    // A pending run happens now.
    void run_now()
    {
        if (!m_idler)
            return;
        cancel();
        m_work();
    }

private:
    static Eina_Bool fire(void* self)
    {
        auto* once = static_cast<IdleOnce*>(self);
        once->m_idler = nullptr;
        once->m_work();
        return ECORE_CALLBACK_CANCEL;
    }

    void (*m_work)();
    Ecore_Idler* m_idler = nullptr;
};
