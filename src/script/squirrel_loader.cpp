#include "script/squirrel_loader.h"

#include "script/squirrel_api.h"

#ifndef ZELVO_SQUIRREL_LIBRARY

// Linked with the program: always there.
bool squirrel_load(QString*) {
    return true;
}

void squirrel_preload() {}
void squirrel_preload_join() {}

#else

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

void* g_library = nullptr;
QString g_error;

void* library() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Local symbols: the library's own calls stay inside it.
        g_library = dlopen(ZELVO_SQUIRREL_LIBRARY, RTLD_LAZY | RTLD_LOCAL);
        if (!g_library) g_error = QString::fromLocal8Bit(dlerror());
    });
    return g_library;
}

void* symbol(const char* name) {
    void* found = library() ? dlsym(g_library, name) : nullptr;
    if (!found) {
        // Callers check squirrel_load first; reaching here is a broken library.
        std::fprintf(stderr, "The script interpreter has no %s (%s)\n", name,
                     ZELVO_SQUIRREL_LIBRARY);
        std::abort();
    }
    return found;
}

}  // namespace

bool squirrel_load(QString* error) {
    if (library()) return true;
    if (error) *error = g_error;
    return false;
}

namespace {
std::thread g_preload;
std::mutex g_preloadMutex;
std::atomic<bool> g_loading{false};
}  // namespace

void squirrel_preload() {
    const std::lock_guard<std::mutex> lock(g_preloadMutex);
    if (g_preload.joinable()) return;
    g_loading = true;
    g_preload = std::thread([] {
        library();
        g_loading = false;
    });
}

bool squirrel_loading() {
    return g_loading.load();
}

void squirrel_preload_join() {
    const std::lock_guard<std::mutex> lock(g_preloadMutex);
    if (g_preload.joinable()) g_preload.join();
}

// Each interpreter function the program calls, resolved on its first call.
#define SQ_FORWARD(ret, name, params, args)                                      \
    ret name params {                                                            \
        static const auto fn = reinterpret_cast<decltype(&name)>(symbol(#name)); \
        return fn args;                                                          \
    }

SQ_FORWARD(HSQUIRRELVM, sq_open, (SQInteger size), (size))
SQ_FORWARD(void, sq_close, (HSQUIRRELVM v), (v))
SQ_FORWARD(void, sq_setforeignptr, (HSQUIRRELVM v, SQUserPointer p), (v, p))
SQ_FORWARD(SQUserPointer, sq_getforeignptr, (HSQUIRRELVM v), (v))
SQ_FORWARD(void, sq_setprintfunc, (HSQUIRRELVM v, SQPRINTFUNCTION p, SQPRINTFUNCTION e), (v, p, e))
SQ_FORWARD(SQRESULT, sq_compilebuffer,
           (HSQUIRRELVM v, const SQChar* s, SQInteger size, const SQChar* name, SQBool raise),
           (v, s, size, name, raise))
SQ_FORWARD(void, sq_enabledebuginfo, (HSQUIRRELVM v, SQBool on), (v, on))
SQ_FORWARD(void, sq_push, (HSQUIRRELVM v, SQInteger i), (v, i))
SQ_FORWARD(void, sq_newarray, (HSQUIRRELVM v, SQInteger size), (v, size))
SQ_FORWARD(SQRESULT, sq_arrayappend, (HSQUIRRELVM v, SQInteger i), (v, i))
SQ_FORWARD(void, sq_pop, (HSQUIRRELVM v, SQInteger n), (v, n))
SQ_FORWARD(SQInteger, sq_gettop, (HSQUIRRELVM v), (v))
SQ_FORWARD(void, sq_settop, (HSQUIRRELVM v, SQInteger top), (v, top))
SQ_FORWARD(void, sq_pushroottable, (HSQUIRRELVM v), (v))
SQ_FORWARD(void, sq_pushstring, (HSQUIRRELVM v, const SQChar* s, SQInteger len), (v, s, len))
SQ_FORWARD(void, sq_pushinteger, (HSQUIRRELVM v, SQInteger n), (v, n))
SQ_FORWARD(void, sq_pushuserpointer, (HSQUIRRELVM v, SQUserPointer p), (v, p))
SQ_FORWARD(SQObjectType, sq_gettype, (HSQUIRRELVM v, SQInteger i), (v, i))
SQ_FORWARD(SQInteger, sq_getsize, (HSQUIRRELVM v, SQInteger i), (v, i))
SQ_FORWARD(SQRESULT, sq_getstring, (HSQUIRRELVM v, SQInteger i, const SQChar** s), (v, i, s))
SQ_FORWARD(SQRESULT, sq_getinteger, (HSQUIRRELVM v, SQInteger i, SQInteger* n), (v, i, n))
SQ_FORWARD(SQRESULT, sq_getuserpointer, (HSQUIRRELVM v, SQInteger i, SQUserPointer* p), (v, i, p))
SQ_FORWARD(void, sq_newclosure, (HSQUIRRELVM v, SQFUNCTION f, SQUnsignedInteger free), (v, f, free))
SQ_FORWARD(SQRESULT, sq_newslot, (HSQUIRRELVM v, SQInteger i, SQBool isStatic), (v, i, isStatic))
SQ_FORWARD(SQRESULT, sq_get, (HSQUIRRELVM v, SQInteger i), (v, i))
SQ_FORWARD(SQRESULT, sq_call, (HSQUIRRELVM v, SQInteger params, SQBool ret, SQBool raise),
           (v, params, ret, raise))
SQ_FORWARD(SQRESULT, sq_throwerror, (HSQUIRRELVM v, const SQChar* error), (v, error))
SQ_FORWARD(void, sq_getlasterror, (HSQUIRRELVM v), (v))
SQ_FORWARD(SQRESULT, sqstd_dofile, (HSQUIRRELVM v, const SQChar* f, SQBool ret, SQBool print),
           (v, f, ret, print))
SQ_FORWARD(void, sqstd_seterrorhandlers, (HSQUIRRELVM v), (v))
SQ_FORWARD(void, sq_seterrorhandler, (HSQUIRRELVM v), (v))
SQ_FORWARD(void, sqstd_printcallstack, (HSQUIRRELVM v), (v))

#endif
