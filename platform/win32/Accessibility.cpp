#include "platform/win32/Accessibility.h"

#include <oleacc.h>

#include <new>

#include "platform/Contrast.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

namespace {

// What a standard control answers to OBJID_QUERYCLASSNAMEIDX when it is the
// system's static control; Active Accessibility then treats the window as
// one, for its own object and when it looks for the label of the control
// that follows (learn.microsoft.com, "Appendix F: Object Identifier Values
// for OBJID_QUERYCLASSNAMEIDX").
constexpr LRESULT kStaticClassIndex = 65536 + 3;

// A window's own states that its face keeps; the rest the face says itself
// (the standard object of a window of an unknown class calls every
// enabled one focusable).
constexpr LONG kWindowStates = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE |
                               STATE_SYSTEM_FOCUSED | STATE_SYSTEM_OFFSCREEN;

using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringLenFunction = BSTR(WINAPI*)(const OLECHAR*, UINT);

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A string for the caller, who frees it; S_FALSE with none for an empty one.
HRESULT GiveString(const wchar_t* text, UINT length, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (length == 0) return S_FALSE;
  static const auto allocate =
      SystemFunction<SysAllocStringLenFunction>("oleaut32.dll", "SysAllocStringLen");
  if (allocate != nullptr) *out = allocate(text, length);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// A window's text as a name for the caller.
HRESULT GiveText(HWND hwnd, bool stripAccessKey, BSTR* out) {
  wchar_t text[512];
  const int length = ::GetWindowTextW(hwnd, text, 512);
  int kept = 0;
  for (int i = 0; i < length; ++i) {
    // "&&" shows one ampersand; a single one marks the access key.
    if (stripAccessKey && text[i] == L'&' && ++i == length) break;
    text[kept++] = text[i];
  }
  return GiveString(text, static_cast<UINT>(kept), out);
}

// The standard object of the control's window, which knows its place, its
// parent and its neighbours, with the face the control shows: its role,
// name and state, and a link's default action. It is kept as small as
// that: everything else is the standard object's, the list of its children
// too (IEnumVARIANT), through which a screen reader reads what a page or a
// panel holds.
class AccessibleControl final : public IAccessible, public IEnumVARIANT {
 public:
  // Takes the standard object's references, `children` null where it has
  // no list.
  AccessibleControl(IAccessible* standard, IEnumVARIANT* children, HWND hwnd,
                    const AccessibleFace& face)
      : standard_(standard), children_(children), hwnd_(hwnd), face_(face) {}
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IEnumVARIANT) && children_ != nullptr) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) {
      if (children_ != nullptr) children_->Release();
      standard_->Release();
      ::HeapFree(::GetProcessHeap(), 0, this);
    }
    return static_cast<ULONG>(left);
  }

  // Clients call IAccessible itself; the type information that scripting
  // would need is not given.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    HWND source = face_.nameSource != nullptr ? face_.nameSource : hwnd_;
    return GiveText(source, face_.stripAccessKey, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child)) return standard_->get_accRole(child, role);
    if (role == nullptr) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = face_.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = standard_->get_accState(child, state);
    if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4) {
      state->lVal = (state->lVal & kWindowStates) | static_cast<LONG>(face_.states);
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child) || !face_.link) return standard_->get_accDefaultAction(child, action);
    return GiveString(face_.action, static_cast<UINT>(::lstrlenW(face_.action)), action);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child) || !face_.link) return standard_->accDoDefaultAction(child);
    // The caller waits for the answer: the link opens once it has it, as
    // from a click.
    return ::PostMessageW(hwnd_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
    return children_->Next(count, children, fetched);
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children_->Skip(count); }
  HRESULT STDMETHODCALLTYPE Reset() override { return children_->Reset(); }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override { return children_->Clone(copy); }

 private:
  IAccessible* standard_;
  IEnumVARIANT* children_;
  HWND hwnd_;
  AccessibleFace face_;
  LONG references_ = 1;
};

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const AccessibleFace& face) {
  const LONG object = static_cast<LONG>(lParam);
  if (object == OBJID_QUERYCLASSNAMEIDX) return face.staticLike ? kStaticClassIndex : 0;
  if (object != OBJID_CLIENT) return 0;

  // Active Accessibility is loaded when a screen reader first asks, and not
  // at all on a Windows without it. Its standard object is the one Windows
  // gives the system control that the class index names: for a window of
  // a static's index, the static's (CreateStdAccessibleProxy would give the
  // same; Wine's is a stub that ends the program).
  static const auto createStandard = SystemFunction<CreateStdAccessibleObjectFunction>(
      "oleacc.dll", "CreateStdAccessibleObject");
  static const auto answerWith =
      SystemFunction<LresultFromObjectFunction>("oleacc.dll", "LresultFromObject");
  if (createStandard == nullptr || answerWith == nullptr) return 0;
  // The object is handed to the asking process through COM, in this
  // thread's apartment.
  EnterComApartment();

  IAccessible* standard = nullptr;
  if (FAILED(createStandard(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                            reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  // Made in the process heap and freed there by its last Release: a
  // failure to get memory only leaves the question unanswered.
  void* memory = ::HeapAlloc(::GetProcessHeap(), 0, sizeof(AccessibleControl));
  if (memory == nullptr) {
    standard->Release();
    return 0;
  }
  IEnumVARIANT* children = nullptr;
  if (FAILED(standard->QueryInterface(__uuidof(IEnumVARIANT),
                                      reinterpret_cast<void**>(&children)))) {
    children = nullptr;
  }
  auto* control = new (memory) AccessibleControl(standard, children, hwnd, face);
  const LRESULT answer =
      answerWith(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(control));
  control->Release();
  return answer;
}

bool HighContrast() {
  HIGHCONTRASTA contrast = {};
  contrast.cbSize = sizeof contrast;
  const unsigned flags =
      ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) ? contrast.dwFlags
                                                                                 : 0;
  if ((flags & HCF_AVAILABLE) != 0) return HighContrastOn(flags, nullptr);
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Accessibility\\HighContrast", 0, KEY_READ,
                      &opened) != ERROR_SUCCESS) {
    return false;
  }
  RegistryKeyHandle key(opened);
  char stored[16] = {};
  DWORD type = 0;
  DWORD size = sizeof stored - 1;
  if (::RegQueryValueExA(key.Get(), "Flags", nullptr, &type, reinterpret_cast<BYTE*>(stored),
                         &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  return HighContrastOn(flags, stored);
}

}  // namespace platform
