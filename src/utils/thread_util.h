#pragma once
#include <pthread.h>

namespace ThreadUtilLockType {
enum Enum { QUEUE = 0, COUNT };
}
namespace ThreadUtilCondType {
enum Enum { QUEUE = 0, COUNT };
}

extern pthread_mutex_t g_ast_thread_lock[ThreadUtilLockType::COUNT];
extern pthread_cond_t g_ast_thread_cond[ThreadUtilCondType::COUNT];

int thread_util_lock_init(ThreadUtilLockType::Enum kind);
int thread_util_lock_destroy(ThreadUtilLockType::Enum kind);
int thread_util_lock(ThreadUtilLockType::Enum kind);
int thread_util_trylock(ThreadUtilLockType::Enum kind);
int thread_util_retrylock(ThreadUtilLockType::Enum kind);
int thread_util_unlock(ThreadUtilLockType::Enum kind);
int thread_util_create(pthread_t* thread, void* (*start)(void*), void* arg);

int thread_util_cond_init(ThreadUtilCondType::Enum kind);
int thread_util_cond_destroy(ThreadUtilCondType::Enum kind);
int thread_util_cond_signal(ThreadUtilCondType::Enum kind);
int thread_util_cond_broadcast(ThreadUtilCondType::Enum kind);
int thread_util_cond_wait(ThreadUtilCondType::Enum cond, ThreadUtilLockType::Enum lock);
// timeout is in milliseconds from now.
int thread_util_cond_timedwait(ThreadUtilCondType::Enum cond, ThreadUtilLockType::Enum lock, int timeout);

int thread_util_chld_thread_kill(pthread_t* thread);
int thread_util_wait(pthread_t thread, int* result);
void thread_util_exit(int code);
pthread_t thread_util_get_current_thread_id();
long thread_util_gettid();
