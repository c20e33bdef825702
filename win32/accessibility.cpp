#include "accessibility.h"

#include <oleacc.h>

#include <string>

namespace brindelor::win32 {

namespace {

// MinGW's import library gives IID_IAccessible as a function thunk, not
// the interface's id: spell it out.
constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// oleacc and COM are loaded when a screen reader first asks, not at start-up
// (under Wine they cost a good part of it).
template <typename F>
F function(const wchar_t* dll, const char* name)
{
    HMODULE module = LoadLibraryW(dll);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

struct Oleacc {
    decltype(&CreateStdAccessibleObject) createStd = nullptr;
    decltype(&LresultFromObject) lresultFrom = nullptr;
    decltype(&SysAllocString) allocString = nullptr;

    static const Oleacc& get()
    {
        static const Oleacc loaded = [] {
            Oleacc o;
            if (const auto initialize = function<decltype(&CoInitialize)>(L"ole32.dll", "CoInitialize"))
                (void)initialize(nullptr); // this thread, for good
            o.createStd = function<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
            o.lresultFrom = function<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
            o.allocString = function<decltype(&SysAllocString)>(L"oleaut32.dll", "SysAllocString");
            return o;
        }();
        return loaded;
    }
};


// The system's own accessible object for the window, with the name a
// screen reader announces replaced by ours: everything else is the system's.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* inner, std::wstring name)
        : inner_(inner)
        , name_(std::move(name))
    {
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override
    {
        return inner_->GetTypeInfo(index, lcid, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        return inner_->GetIDsOfNames(riid, names, count, lcid, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT* argError) override
    {
        return inner_->Invoke(id, riid, lcid, flags, params, result, info, argError);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (!name)
            return E_POINTER;
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
            *name = Oleacc::get().allocString ? Oleacc::get().allocString(name_.c_str()) : nullptr;
            return *name ? S_OK : E_OUTOFMEMORY;
        }
        return inner_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return inner_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return inner_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        return inner_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return inner_->get_accRole(child, role); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return inner_->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return inner_->get_accSelection(children); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override { return inner_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override { return inner_->accHitTest(x, y, child); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return inner_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return inner_->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { inner_->Release(); }

    LONG refs_ = 1;
    IAccessible* inner_;
    std::wstring name_;
};

} // namespace

bool answerAccessibleName(HWND hwnd, WPARAM wParam, LPARAM lParam, const std::wstring& name, LRESULT& result)
{
    if (name.empty() || static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    const Oleacc& oleacc = Oleacc::get();
    if (!oleacc.createStd || !oleacc.lresultFrom || !oleacc.allocString)
        return false;
    IAccessible* inner = nullptr;
    if (FAILED(oleacc.createStd(hwnd, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&inner))))
        return false;
    auto* named = new NamedAccessible(inner, name);
    result = oleacc.lresultFrom(kIAccessible, wParam, static_cast<IAccessible*>(named));
    named->Release(); // LresultFromObject holds its own reference
    return true;
}

} // namespace brindelor::win32
