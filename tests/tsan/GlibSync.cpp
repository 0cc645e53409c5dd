// Linked into the test programs of the thread-sanitizer build only. GLib
// locks its mutexes with bare futexes, which the sanitizer cannot see: a
// pointer that one thread hands to another under a GStreamer object lock (the
// data of a bus handler, a pad probe or a signal handler) looked as if it
// crossed threads unsynchronised. These wrappers run GLib's own functions and
// tell the sanitizer where each lock is taken and released; the program's
// own code is not touched.
#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

namespace {

template <typename Function>
Function Real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using Lock = void (*)(void*);
using TryLock = int (*)(void*);
using Wait = void (*)(void*, void*);
using WaitUntil = int (*)(void*, void*, long);

} // namespace

extern "C" {

void g_mutex_lock(void* mutex)
{
    static const Lock real = Real<Lock>("g_mutex_lock");
    real(mutex);
    __tsan_acquire(mutex);
}

int g_mutex_trylock(void* mutex)
{
    static const TryLock real = Real<TryLock>("g_mutex_trylock");
    int locked = real(mutex);
    if (locked)
        __tsan_acquire(mutex);
    return locked;
}

void g_mutex_unlock(void* mutex)
{
    static const Lock real = Real<Lock>("g_mutex_unlock");
    __tsan_release(mutex);
    real(mutex);
}

void g_rec_mutex_lock(void* mutex)
{
    static const Lock real = Real<Lock>("g_rec_mutex_lock");
    real(mutex);
    __tsan_acquire(mutex);
}

int g_rec_mutex_trylock(void* mutex)
{
    static const TryLock real = Real<TryLock>("g_rec_mutex_trylock");
    int locked = real(mutex);
    if (locked)
        __tsan_acquire(mutex);
    return locked;
}

void g_rec_mutex_unlock(void* mutex)
{
    static const Lock real = Real<Lock>("g_rec_mutex_unlock");
    __tsan_release(mutex);
    real(mutex);
}

// A wait gives the mutex up and takes it again.
void g_cond_wait(void* cond, void* mutex)
{
    static const Wait real = Real<Wait>("g_cond_wait");
    __tsan_release(mutex);
    real(cond, mutex);
    __tsan_acquire(mutex);
}

int g_cond_wait_until(void* cond, void* mutex, long endTime)
{
    static const WaitUntil real = Real<WaitUntil>("g_cond_wait_until");
    __tsan_release(mutex);
    int signalled = real(cond, mutex, endTime);
    __tsan_acquire(mutex);
    return signalled;
}

} // extern "C"
