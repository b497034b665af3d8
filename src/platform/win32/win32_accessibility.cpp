#include "platform/win32/win32_accessibility.h"

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text.h"

#include <oleacc.h>

namespace kt5::platform::win32 {

namespace {

constexpr wchar_t kNameProperty[] = L"kt5.accessibleName";

// The few functions of the system's accessibility and COM libraries in use here.
struct AccessibilityApi {
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
};

template <class Function>
bool bind(HMODULE library, const char* name, Function& function)
{
    // Through the generic function pointer type, the one a FARPROC may be cast to.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    return function != nullptr;
}

// Bound once, thread-safely, from the system directory only; null when unavailable.
const AccessibilityApi* accessibilityApi()
{
    static const struct Binding {
        UniqueLibrary oleacc{LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)};
        UniqueLibrary oleaut{
            LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)};
        UniqueLibrary ole{LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)};
        AccessibilityApi api;
        bool complete = false;
        Binding()
        {
            decltype(&CoInitializeEx) coInitializeEx = nullptr;
            complete =
                oleacc && oleaut && ole &&
                bind(oleacc.get(), "CreateStdAccessibleObject", api.createStdAccessibleObject) &&
                bind(oleacc.get(), "LresultFromObject", api.lresultFromObject) &&
                bind(oleaut.get(), "SysAllocString", api.sysAllocString) &&
                bind(ole.get(), "CoInitializeEx", coInitializeEx);
            // Handing out an object marshals it, which needs COM on this, the window's thread.
            if (complete)
                coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        }
    } binding;
    return binding.complete ? &binding.api : nullptr;
}

// The system's accessible object of a control, answering with another name for the control
// itself; everything else is the system's. Interfaces are named by __uuidof: oleacc's import
// library also has a symbol IID_IAccessible, a code stub, which a link may take instead.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* system, const std::wstring& name, const AccessibilityApi& api)
        : system_(system)
        , name_(name)
        , api_(api)
    {
    }
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            system_->Release();
            delete this; // COM's own lifetime rule: the last reference frees the object
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return system_->get_accName(child, name);
        *name = api_.sysAllocString(name_.c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    // Everything else as the system answers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override
    {
        return system_->GetTypeInfoCount(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override
    {
        return system_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override
    {
        return system_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override
    {
        return system_->Invoke(d, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override
    {
        return system_->get_accParent(p);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override
    {
        return system_->get_accChildCount(n);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** p) override
    {
        return system_->get_accChild(c, p);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT c, BSTR* v) override
    {
        return system_->get_accValue(c, v);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override
    {
        return system_->get_accDescription(c, d);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT c, VARIANT* r) override
    {
        return system_->get_accRole(c, r);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override
    {
        return system_->get_accState(c, s);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override
    {
        return system_->get_accHelp(c, h);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override
    {
        return system_->get_accHelpTopic(f, c, t);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override
    {
        return system_->get_accKeyboardShortcut(c, k);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* c) override { return system_->get_accFocus(c); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* c) override
    {
        return system_->get_accSelection(c);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override
    {
        return system_->get_accDefaultAction(c, a);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override
    {
        return system_->accSelect(f, c);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT c) override
    {
        return system_->accLocation(x, y, w, h, c);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override
    {
        return system_->accNavigate(d, s, e);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override
    {
        return system_->accHitTest(x, y, c);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override
    {
        return system_->accDoDefaultAction(c);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT c, BSTR n) override
    {
        return system_->put_accName(c, n);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT c, BSTR v) override
    {
        return system_->put_accValue(c, v);
    }

private:
    ~NamedAccessible() = default;

    LONG references_ = 1;
    IAccessible* system_;
    std::wstring name_;
    const AccessibilityApi& api_;
};

} // namespace

void AccessibleNames::give(HWND control, std::string_view name)
{
    auto named = std::make_unique<Named>(Named{nullptr, wideFromUtf8(name)});
    SetPropW(control, kNameProperty, named.get());
    named->original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AccessibleNames::controlProc)));
    named_.push_back(std::move(named));
}

LRESULT CALLBACK AccessibleNames::controlProc(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam)
{
    const auto* named = static_cast<const Named*>(GetPropW(control, kNameProperty));
    if (named == nullptr)
        return DefWindowProcW(control, message, wParam, lParam);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const AccessibilityApi* api = accessibilityApi();
        IAccessible* system = nullptr;
        if (api != nullptr &&
            SUCCEEDED(api->createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&system)))) {
            auto* accessible = new NamedAccessible(system, named->name, *api);
            const LRESULT result =
                api->lresultFromObject(__uuidof(IAccessible), wParam, accessible);
            accessible->Release(); // the result holds its own reference
            return result;
        }
    }
    const WNDPROC original = named->original;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(control, kNameProperty);
    }
    return CallWindowProcW(original, control, message, wParam, lParam);
}

} // namespace kt5::platform::win32
