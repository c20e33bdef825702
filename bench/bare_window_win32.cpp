// The yardstick for the Windows window's start-up time and memory: a bare
// Win32 window with the same controls and frame as ours and no logic.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND child(const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, int x, int y, int w, int h,
           DWORD exStyle = 0)
{
    HWND hwnd = CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, parent, nullptr,
                                nullptr, nullptr);
    static HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
    constexpr DWORD style = WS_CAPTION | WS_SYSMENU;
    constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;
    RECT r{0, 0, 220, 359};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    HWND w = CreateWindowExW(exStyle, L"BareWindow", L"Brindelor", style, CW_USEDEFAULT, CW_USEDEFAULT,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    child(L"STATIC", L"Augmentation", 0, w, 25, 190, 67, 13);
    child(L"STATIC", L"Tarif de base", 0, w, 11, 15, 75, 13);
    child(L"EDIT", L"", ES_AUTOHSCROLL, w, 114, 10, 94, 21, WS_EX_CLIENTEDGE);
    const wchar_t* captions[] = {L"O", L"9", L"I", L"X", L"K", L"effacer"};
    const int tops[] = {35, 54, 73, 92, 112, 16};
    for (int g = 0; g < 2; ++g) {
        HWND box = child(L"BUTTON", g == 0 ? L"1er Modificateur" : L"2\u00e8me Modificateur", BS_GROUPBOX, w,
                         g == 0 ? 8 : 111, 35, 97, 145);
        (void)box;
        for (int i = 0; i < 6; ++i)
            child(L"BUTTON", captions[i], BS_AUTORADIOBUTTON, w, (g == 0 ? 8 : 111) + 16, 35 + tops[i], 57, 17);
    }
    CreateWindowExW(0, L"BUTTON", L"Calculer", WS_CHILD, 214, 171, 85, 52, w, nullptr, nullptr, nullptr);
    child(L"EDIT", L"", ES_CENTER, w, 114, 186, 75, 21, WS_EX_CLIENTEDGE);
    child(L"BUTTON", L"Nouveaux Tarifs", BS_GROUPBOX, w, 7, 213, 206, 140);
    const wchar_t* labels[] = {L"\u20ac", L"01/07/2013", L"01/03/2014", L"\u20ac", L"Diff\u00e9rence", L"JO 2012",
                               L"\u20ac", L"\u20ac"};
    for (int i = 0; i < 8; ++i)
        child(L"STATIC", labels[i], 0, w, 7 + 24, 213 + 20 + 12 * i, 60, 13);
    for (int i = 0; i < 4; ++i)
        child(L"EDIT", L"", ES_CENTER, w, 7 + 107, 213 + 20 + 27 * i, 75, 21, WS_EX_CLIENTEDGE);
    ShowWindow(w, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(w, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
