// Prints what a screen reader reads of the updater's window, from another
// process, as a screen reader does: the client's accessible object and each
// of its elements with its role, name, value, states and place.
//   accessible-tree.exe [OUT.txt]
// (UTF-8 lines on the standard output, or in OUT.txt). Waits up to 30 seconds for the window. Exit code 0 when the tree
// was read, 1 otherwise.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "updater_identity.h"

namespace {

VARIANT Child(LONG id)
{
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Text(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), LONG id)
{
    BSTR text = nullptr;
    std::wstring result;
    if (SUCCEEDED((object->*get)(Child(id), &text)) && text)
        result = text;
    SysFreeString(text);
    return result;
}

std::wstring RoleText(LONG role)
{
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role), text, 128);
    return text;
}

std::wstring StateText(LONG states)
{
    std::wstring text;
    for (DWORD bit = 1; bit != 0 && bit <= static_cast<DWORD>(states); bit <<= 1) {
        if (!(static_cast<DWORD>(states) & bit))
            continue;
        wchar_t name[128] = {};
        GetStateTextW(bit, name, 128);
        text += (text.empty() ? L"" : L", ") + std::wstring(name);
    }
    return text.empty() ? L"normal" : text;
}

FILE* g_out = stdout;

// UTF-8, whatever the console's code page.
void Print(const std::wstring& line)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &out[0], size, nullptr, nullptr);
    std::fprintf(g_out, "%s\n", out.c_str());
}

void PrintElement(IAccessible* object, LONG id)
{
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    object->get_accRole(Child(id), &role);
    object->get_accState(Child(id), &state);
    long x = 0, y = 0, w = 0, h = 0;
    object->accLocation(&x, &y, &w, &h, Child(id));
    std::wstring line = (id == CHILDID_SELF ? L"client" : L"  " + std::to_wstring(id)) + L": " +
                        RoleText(role.vt == VT_I4 ? role.lVal : 0) + L" \"" +
                        Text(object, &IAccessible::get_accName, id) + L"\"";
    const std::wstring value = Text(object, &IAccessible::get_accValue, id);
    if (!value.empty())
        line += L", value \"" + value + L"\"";
    const std::wstring action = Text(object, &IAccessible::get_accDefaultAction, id);
    if (!action.empty())
        line += L", action \"" + action + L"\"";
    line += L"; " + StateText(state.vt == VT_I4 ? state.lVal : 0) + L"; " + std::to_wstring(w) + L"x" +
            std::to_wstring(h) + L" at " + std::to_wstring(x) + L"," + std::to_wstring(y);
    Print(line);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && !(g_out = _wfopen(argv[1], L"w"))) {
        std::fprintf(stderr, "accessible-tree: cannot write the tree\n");
        return 1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 300 && !(window = FindWindowW(kUpdaterWindowClass, nullptr)); ++i)
        Sleep(100);
    if (!window) {
        std::fprintf(stderr, "accessible-tree: no updater window\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* client = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&client));
    if (FAILED(hr) || !client) {
        std::fprintf(stderr, "accessible-tree: AccessibleObjectFromWindow failed: 0x%08lx\n",
                     static_cast<unsigned long>(hr));
        CoUninitialize();
        return 1;
    }
    long count = 0;
    long fetched = 0;
    HRESULT read = client->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count > 0 ? count : 0));
    if (SUCCEEDED(read) && count > 0)
        read = AccessibleChildren(client, 0, count, children.data(), &fetched);
    if (SUCCEEDED(read)) {
        PrintElement(client, CHILDID_SELF);
        for (long i = 0; i < fetched; ++i) {
            if (children[static_cast<size_t>(i)].vt == VT_I4)
                PrintElement(client, children[static_cast<size_t>(i)].lVal);
            VariantClear(&children[static_cast<size_t>(i)]);
        }
    } else {
        std::fprintf(stderr, "accessible-tree: the children could not be read: 0x%08lx\n",
                     static_cast<unsigned long>(read));
    }
    client->Release();
    CoUninitialize();
    return std::fclose(g_out) == 0 && SUCCEEDED(read) ? 0 : 1;
}
