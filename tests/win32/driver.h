#pragma once
// Drives the real brindelor.exe from another process of the same Wine
// desktop, as a user would: keys and clicks through SendInput, which Wine
// queues like a keyboard's and a mouse's. The state is read back through what
// crosses processes: WM_GETTEXT, BM_GETCHECK, window rectangles and
// GetGUIThreadInfo's focus. The beeps and the opened addresses come from the
// program's two test seams, a log file each.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brindelor::wintest {

// The components in the window's creation order: each native control's id is
// 100 + its place here.
enum Component : int {
    Label3,
    JvLabel2,
    JvCalcEdit1,
    GroupBox1,
    RadioButton1, // "O"
    RadioButton2, // "9"
    RadioButton3, // "I"
    RadioButton4, // "X"
    RadioButton5, // "K"
    RadioButton6, // "effacer"
    Button1,
    Edit_taux,
    GroupBox2,
    RadioButton7,
    RadioButton8,
    RadioButton9,
    RadioButton10,
    RadioButton11,
    RadioButton12,
    GroupBox3,
    Label5,
    Label2,
    Label4,
    Label6,
    Label8,
    JvLabel1,
    Label7,
    Label9,
    Edit_valeur_13,
    Edit_valeur_14,
    Edit_valeur_14_JO,
    Edit_delta,
    kComponentCount
};

// The option of a group (1 or 2) by caption: "O", "9", "I", "X", "K", "effacer".
Component option(int group, std::wstring_view caption);

// Modifier keys held around a key.
enum Modifiers : unsigned { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };

// Polls until done() holds; false when it never did. Not a measure of
// speed: the limit only ends a wait for what will not come.
bool waitUntil(const std::function<bool()>& done, DWORD limitMs = 10000);

// A Unix path as Wine's Z: drive sees it; other paths unchanged.
std::wstring windowsPath(std::string_view path);

// Under Wine: waits until the services Wine starts late or on first use
// (plugplay, svchost, rpcss) run. They start under the LANG of whoever
// started the wineserver, and every process start under another LANG
// rewrites the prefix's locale values, which the window reads at its own
// start. True when they all run (or not under Wine).
bool waitForWineServices(DWORD limitMs = 20000);

std::wstring windowText(HWND hwnd);
std::wstring className(HWND hwnd);

// One run of brindelor.exe, ended with the object if still running. Wine
// gives it the Unix environment of this process, LANG included (the
// environment block passed to CreateProcess reaches only its Windows side).
class Brindelor {
public:
    Brindelor();
    // Started from a copy under this file name, for the title it gives.
    explicit Brindelor(std::wstring_view startedAs);
    ~Brindelor();
    Brindelor(const Brindelor&) = delete;
    Brindelor& operator=(const Brindelor&) = delete;

    // Started, its window shown and the focus in the entry; else why not.
    bool ready() const noexcept { return failure_.empty(); }
    const std::string& failure() const noexcept { return failure_; }

    HWND window() const noexcept { return window_; }
    HANDLE process() const noexcept { return info_.hProcess; }
    DWORD threadId() const noexcept { return thread_; }

    // ---- Reading ----
    HWND hwnd(Component c) const;
    std::wstring text(Component c) const { return windowText(hwnd(c)); }
    bool checked(Component c) const;
    HWND focus() const;
    bool focused(Component c) const { return focus() == hwnd(c); }
    // Which component has the focus, or -1.
    int focusedComponent() const;
    // Edit_taux, Edit_valeur_13, Edit_valeur_14, Edit_valeur_14_JO, Edit_delta.
    std::vector<std::wstring> fields() const;
    // The visible top-level windows of the program with this class.
    std::vector<HWND> topLevels(std::wstring_view windowClass) const;
    // A rectangle in screen coordinates.
    RECT screenRect(Component c) const;

    // ---- The seams ----
    std::vector<std::string> opened() const; // addresses, one a line
    int beeps() const;

    // ---- Input ----
    void type(std::wstring_view text) const;
    void press(WORD vk, unsigned modifiers = None) const;
    // Clicks at a point of the component's client area (its centre by default).
    void click(Component c) const;
    void click(Component c, POINT client, int times = 1) const;
    static void clickAt(POINT screen, int times = 1);
    static void moveTo(POINT screen);

    // Waits for the process to end; its exit code, or STILL_ACTIVE.
    DWORD waitForExit(DWORD limitMs = 10000) const;

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
    DWORD thread_ = 0;
    std::wstring copyDir_; // of the copy, if any
    std::wstring openLog_;
    std::wstring beepLog_;
    std::string failure_;
};

} // namespace brindelor::wintest
