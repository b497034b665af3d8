#include "os/shared_library.h"

#include <dlfcn.h>

namespace kt5::platform::os {

namespace {

std::string loaderError()
{
    const char* error = dlerror();
    return error != nullptr ? error : "unknown dynamic loader error";
}

} // namespace

SharedLibrary::SharedLibrary(const char* name)
    : name_(name)
    , handle_(dlopen(name, RTLD_NOW | RTLD_LOCAL))
{
    if (handle_ == nullptr)
        error_ = loaderError();
}

void (*SharedLibrary::lookUp(const char* symbol))()
{
    if (handle_ == nullptr)
        return nullptr;
    void* address = dlsym(handle_, symbol);
    if (address == nullptr)
        error_ = loaderError(); // it names the library and the symbol
    return reinterpret_cast<void (*)()>(address);
}

} // namespace kt5::platform::os
