#pragma once

#include <string>

namespace kt5::platform::os {

// A system library loaded by name when first needed, rather than linked: loading it, and
// what it loads in turn, need not delay the program's start. On Windows it is looked for in
// the system directory only. It stays loaded for the rest of the run, since code still
// running in it on another thread (a sound being stopped) must not lose it.
class SharedLibrary {
public:
    explicit SharedLibrary(const char* name);

    bool loaded() const { return handle_ != nullptr; }
    // Why it did not load, or why the last bind failed, in the loader's own words.
    const std::string& error() const { return error_; }

    // Looks a function up by name and gives it the type of the declaration it stands for.
    // False, with the reason in error(), when the library lacks it.
    template <class Function>
    bool bind(const char* symbol, Function& function)
    {
        // Through the generic function pointer type, the one a symbol's address may become.
        function = reinterpret_cast<Function>(lookUp(symbol));
        return function != nullptr;
    }

private:
    void (*lookUp(const char* symbol))();

    std::string name_;
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace kt5::platform::os
