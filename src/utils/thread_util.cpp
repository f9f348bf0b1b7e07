#include "utils/thread_util.h"

#include <cstdint>
#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>

pthread_mutex_t g_ast_thread_lock[ThreadUtilLockType::COUNT];
pthread_cond_t g_ast_thread_cond[ThreadUtilCondType::COUNT];

int thread_util_lock_init(ThreadUtilLockType::Enum kind) { return pthread_mutex_init(&g_ast_thread_lock[kind], nullptr); }
int thread_util_lock_destroy(ThreadUtilLockType::Enum kind) { return pthread_mutex_destroy(&g_ast_thread_lock[kind]); }
int thread_util_lock(ThreadUtilLockType::Enum kind) { return pthread_mutex_lock(&g_ast_thread_lock[kind]); }
int thread_util_trylock(ThreadUtilLockType::Enum kind) { return pthread_mutex_trylock(&g_ast_thread_lock[kind]); }
int thread_util_unlock(ThreadUtilLockType::Enum kind) { return pthread_mutex_unlock(&g_ast_thread_lock[kind]); }

int thread_util_retrylock(ThreadUtilLockType::Enum kind)
{
    int rc = thread_util_trylock(kind);
    if (rc == 0)
        return 0;
    usleep(25000);
    for (int i = 0; i < 3; ++i) {
        rc = thread_util_trylock(kind);
        if (rc == 0)
            return 0;
    }
    return rc;
}

int thread_util_create(pthread_t* thread, void* (*start)(void*), void* arg)
{
    return pthread_create(thread, nullptr, start, arg);
}

int thread_util_cond_init(ThreadUtilCondType::Enum kind) { return pthread_cond_init(&g_ast_thread_cond[kind], nullptr); }
int thread_util_cond_destroy(ThreadUtilCondType::Enum kind) { return pthread_cond_destroy(&g_ast_thread_cond[kind]); }
int thread_util_cond_signal(ThreadUtilCondType::Enum kind) { return pthread_cond_signal(&g_ast_thread_cond[kind]); }
int thread_util_cond_broadcast(ThreadUtilCondType::Enum kind) { return pthread_cond_broadcast(&g_ast_thread_cond[kind]); }

int thread_util_cond_wait(ThreadUtilCondType::Enum cond, ThreadUtilLockType::Enum lock)
{
    return pthread_cond_wait(&g_ast_thread_cond[cond], &g_ast_thread_lock[lock]);
}

int thread_util_cond_timedwait(ThreadUtilCondType::Enum cond, ThreadUtilLockType::Enum lock, int timeout)
{
    timespec until {};
    clock_gettime(CLOCK_REALTIME, &until);
    int64_t ns = until.tv_nsec + int64_t(timeout) * 1000000;
    until.tv_sec += ns / 1000000000;
    until.tv_nsec = ns % 1000000000;
    return pthread_cond_timedwait(&g_ast_thread_cond[cond], &g_ast_thread_lock[lock], &until);
}

int thread_util_chld_thread_kill(pthread_t* thread) { return pthread_cancel(*thread); }

int thread_util_wait(pthread_t thread, int* result)
{
    if (!result)
        return -1;
    void* value = nullptr;
    int rc = pthread_join(thread, &value);
    *result = int(reinterpret_cast<intptr_t>(value));
    return rc;
}

void thread_util_exit(int code) { pthread_exit(reinterpret_cast<void*>(intptr_t(code))); }
pthread_t thread_util_get_current_thread_id() { return pthread_self(); }
long thread_util_gettid() { return syscall(SYS_gettid); }
