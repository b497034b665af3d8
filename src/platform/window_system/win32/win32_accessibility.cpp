#include "win32/win32_accessibility.h"

#include "os/shared_library.h"
#include "os/windows_text.h"

#include <commctrl.h>
#include <oleacc.h>
#include <utility>

namespace kt5::platform::win32 {

namespace {

using Presentation = AccessiblePresentation::Presentation;

// The few functions of the system's accessibility and COM libraries in use here.
struct AccessibilityApi {
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
};

// Bound once, at the first request, which only assistive technology makes, so that they cost
// the start nothing; null when unavailable.
const AccessibilityApi* accessibilityApi()
{
    static const AccessibilityApi* const bound = []() -> const AccessibilityApi* {
        static os::SharedLibrary oleacc("oleacc.dll");
        static os::SharedLibrary oleaut("oleaut32.dll");
        static os::SharedLibrary ole("ole32.dll");
        static AccessibilityApi api;
        decltype(&CoInitializeEx) coInitializeEx = nullptr;
        if (!oleacc.bind("CreateStdAccessibleObject", api.createStdAccessibleObject) ||
            !oleacc.bind("LresultFromObject", api.lresultFromObject) ||
            !oleaut.bind("SysAllocString", api.sysAllocString) ||
            !ole.bind("CoInitializeEx", coInitializeEx))
            return nullptr;
        // Handing out an object marshals it, which needs COM on this, the window's thread;
        // a thread already in the other apartment model can marshal too.
        const HRESULT com = coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (FAILED(com) && com != RPC_E_CHANGED_MODE)
            return nullptr;
        return &api;
    }();
    return bound;
}

// The system's accessible object of a control, answering for the control itself with the
// layout's name, and as neither visible nor focusable where the control lies off screen;
// everything else is the system's. Interfaces are named by __uuidof: oleacc's import library
// also has a symbol IID_IAccessible, a code stub, which a link may take instead.
// A screen reader may keep the object after the window is gone, so it holds a copy of what
// it presents, beside its own reference to the system's object. Its one other reference is to
// the table of functions, a function's static, bound once and never unbound (the libraries
// stay loaded for the run), which outlives every object.
class PresentedAccessible final : public IAccessible {
public:
    PresentedAccessible(IAccessible* system, Presentation presentation, const AccessibilityApi& api)
        : system_(system)
        , presentation_(std::move(presentation))
        , api_(api)
    {
    }
    PresentedAccessible(const PresentedAccessible&) = delete;
    PresentedAccessible& operator=(const PresentedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
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
        if (!isSelf(child) || presentation_.name.empty())
            return system_->get_accName(child, name);
        *name = api_.sysAllocString(presentation_.name.c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        const HRESULT result = system_->get_accState(child, state);
        if (SUCCEEDED(result) && isSelf(child) && !presentation_.onScreen && state->vt == VT_I4)
            state->lVal = (state->lVal | STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN) &
                          ~(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
        return result;
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
    ~PresentedAccessible() = default;
    static bool isSelf(const VARIANT& child)
    {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }

    LONG references_ = 1;
    IAccessible* system_;
    const Presentation presentation_;
    const AccessibilityApi& api_;
};

} // namespace

void AccessiblePresentation::present(HWND control, const layout::ControlLayout& layout)
{
    if (layout.accessibleName.empty() && layout.onScreen)
        return; // as the system presents it
    auto presentation =
        std::make_unique<Presentation>(os::wideFromUtf8(layout.accessibleName), layout.onScreen);
    if (SetWindowSubclass(control, &AccessiblePresentation::controlProc, 0,
                          reinterpret_cast<DWORD_PTR>(presentation.get())))
        presented_.push_back(std::move(presentation));
}

LRESULT CALLBACK AccessiblePresentation::controlProc(HWND control, UINT message, WPARAM wParam,
                                                     LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        const AccessibilityApi* api = accessibilityApi();
        IAccessible* system = nullptr;
        if (api != nullptr &&
            SUCCEEDED(api->createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&system)))) {
            const auto& presentation = *reinterpret_cast<const Presentation*>(data);
            // COM's own lifetime rule: the object frees itself with its last reference.
            auto* accessible = new PresentedAccessible(system, presentation, *api);
            const LRESULT result =
                api->lresultFromObject(__uuidof(IAccessible), wParam, accessible);
            accessible->Release(); // the result holds its own reference
            return result;
        }
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(control, &AccessiblePresentation::controlProc, 0);
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace kt5::platform::win32
