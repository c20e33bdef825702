#include "driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace brindelor::wintest {

namespace {

constexpr int kFirstId = 100;

// brindelor.exe, next to this program.
std::wstring programPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"brindelor.exe";
}

std::wstring tempFile(const wchar_t* prefix)
{
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    wchar_t name[MAX_PATH] = {};
    GetTempFileNameW(dir, prefix, 0, name); // created, empty
    return name;
}

std::vector<std::string> lines(const std::wstring& path)
{
    std::vector<std::string> out;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f)
        return out;
    std::string all;
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        all.append(buffer, n);
    std::fclose(f);
    for (std::size_t start = 0, end; start < all.size(); start = end + 1) {
        end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        out.push_back(all.substr(start, end - start));
    }
    return out;
}

// The environment of this process, the seams replaced.
std::wstring environmentFor(const std::vector<std::wstring>& set)
{
    std::wstring block;
    LPWCH env = GetEnvironmentStringsW();
    for (const wchar_t* p = env; *p; p += wcslen(p) + 1) {
        if (_wcsnicmp(p, L"BRINDELOR_", 10) != 0)
            block += std::wstring(p) + L'\0';
    }
    FreeEnvironmentStringsW(env);
    for (const std::wstring& entry : set)
        block += entry + L'\0';
    block += L'\0';
    return block;
}

struct Found {
    DWORD pid;
    std::wstring windowClass;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM data)
{
    auto& found = *reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == found.pid && IsWindowVisible(hwnd) && className(hwnd) == found.windowClass)
        found.windows.push_back(hwnd);
    return TRUE;
}

struct ById {
    int id;
    HWND hwnd;
};

BOOL CALLBACK findById(HWND hwnd, LPARAM data)
{
    auto& search = *reinterpret_cast<ById*>(data);
    if (GetDlgCtrlID(hwnd) == search.id) {
        search.hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool isExtended(WORD vk)
{
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return true;
    default: return false;
    }
}

INPUT keyInput(WORD vk, bool up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0u) | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0u);
    return in;
}

void addChord(std::vector<INPUT>& inputs, WORD vk, unsigned modifiers)
{
    const WORD held[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    for (unsigned i = 0; i < 3; ++i) {
        if (modifiers & (1u << i))
            inputs.push_back(keyInput(held[i], false));
    }
    inputs.push_back(keyInput(vk, false));
    inputs.push_back(keyInput(vk, true));
    for (unsigned i = 3; i-- > 0;) {
        if (modifiers & (1u << i))
            inputs.push_back(keyInput(held[i], true));
    }
}

void send(std::vector<INPUT>& inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

Component option(int group, std::wstring_view caption)
{
    static constexpr std::wstring_view kCaptions[] = {L"O", L"9", L"I", L"X", L"K", L"effacer"};
    const auto at = std::find(std::begin(kCaptions), std::end(kCaptions), caption);
    const int first = group == 1 ? RadioButton1 : RadioButton7;
    return static_cast<Component>(first + static_cast<int>(at - std::begin(kCaptions)));
}

bool waitUntil(const std::function<bool()>& done, DWORD limitMs)
{
    const ULONGLONG end = GetTickCount64() + limitMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() > end)
            return false;
        Sleep(10);
    }
}

bool waitForWineServices(DWORD limitMs)
{
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return true;
    return waitUntil(
        [] {
            bool seen[3] = {};
            static constexpr const wchar_t* kServices[] = {L"plugplay.exe", L"svchost.exe", L"rpcss.exe"};
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof(entry);
            for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
                for (int i = 0; i < 3; ++i)
                    seen[i] = seen[i] || _wcsicmp(entry.szExeFile, kServices[i]) == 0;
            }
            CloseHandle(snapshot);
            return seen[0] && seen[1] && seen[2];
        },
        limitMs);
}

std::wstring windowsPath(std::string_view path)
{
    std::wstring out = path.starts_with('/') ? L"Z:" : L"";
    for (const char c : path)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

std::wstring windowText(HWND hwnd)
{
    if (!hwnd)
        return L"<no window>";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return L"<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        5000, &copied);
    text.resize(std::min<std::size_t>(copied, length));
    return text;
}

std::wstring className(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// ---- Brindelor -------------------------------------------------------------

Brindelor::Brindelor()
    : Brindelor(std::wstring_view())
{
}

Brindelor::Brindelor(std::wstring_view startedAs)
    : openLog_(tempFile(L"opn"))
    , beepLog_(tempFile(L"bep"))
{
    std::wstring exe = programPath();
    if (!startedAs.empty()) {
        copyDir_ = openLog_ + L".dir";
        const std::wstring copy = copyDir_ + L"\\" + std::wstring(startedAs);
        if (!CreateDirectoryW(copyDir_.c_str(), nullptr) || !CopyFileW(exe.c_str(), copy.c_str(), TRUE)) {
            failure_ = "cannot copy brindelor.exe (error " + std::to_string(GetLastError()) + ")";
            return;
        }
        exe = copy;
    }
    std::wstring command = L"\"" + exe + L"\"";
    std::wstring env = environmentFor({L"BRINDELOR_OPEN_LOG=" + openLog_, L"BRINDELOR_BEEP_LOG=" + beepLog_});
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        env.data(), nullptr, &startup, &info_)) {
        failure_ = "cannot start brindelor.exe (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    WaitForInputIdle(info_.hProcess, 10000);
    const bool shown = waitUntil([this] {
        const std::vector<HWND> windows = topLevels(L"BrindelorForm");
        if (windows.empty())
            return false;
        window_ = windows.front();
        return true;
    });
    if (!shown) {
        failure_ = "no visible window of class BrindelorForm";
        return;
    }
    thread_ = GetWindowThreadProcessId(window_, nullptr);
    if (!waitUntil([this] { return focused(JvCalcEdit1); }))
        failure_ = "the focus never reached the entry";
}

Brindelor::~Brindelor()
{
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    if (!copyDir_.empty()) {
        const std::wstring pattern = copyDir_ + L"\\*";
        WIN32_FIND_DATAW found{};
        if (HANDLE search = FindFirstFileW(pattern.c_str(), &found); search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((copyDir_ + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(copyDir_.c_str());
    }
    DeleteFileW(openLog_.c_str());
    DeleteFileW(beepLog_.c_str());
}

HWND Brindelor::hwnd(Component c) const
{
    ById search{kFirstId + c, nullptr};
    if (window_)
        EnumChildWindows(window_, findById, reinterpret_cast<LPARAM>(&search));
    return search.hwnd;
}

bool Brindelor::checked(Component c) const
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(hwnd(c), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

HWND Brindelor::focus() const
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    if (!thread_ || !GetGUIThreadInfo(thread_, &gui))
        return nullptr;
    return gui.hwndFocus;
}

int Brindelor::focusedComponent() const
{
    const HWND f = focus();
    if (!f || !window_ || !IsChild(window_, f))
        return -1;
    const int id = GetDlgCtrlID(f);
    return id >= kFirstId && id < kFirstId + kComponentCount ? id - kFirstId : -1;
}

std::vector<std::wstring> Brindelor::fields() const
{
    return {text(Edit_taux), text(Edit_valeur_13), text(Edit_valeur_14), text(Edit_valeur_14_JO),
            text(Edit_delta)};
}

std::vector<HWND> Brindelor::topLevels(std::wstring_view windowClass) const
{
    Found found{info_.dwProcessId, std::wstring(windowClass), {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

RECT Brindelor::screenRect(Component c) const
{
    RECT r{};
    GetWindowRect(hwnd(c), &r);
    return r;
}

std::vector<std::string> Brindelor::opened() const { return lines(openLog_); }

int Brindelor::beeps() const { return static_cast<int>(lines(beepLog_).size()); }

void Brindelor::type(std::wstring_view text) const
{
    std::vector<INPUT> inputs;
    for (const wchar_t c : text) {
        const SHORT scan = VkKeyScanW(c);
        if (scan != -1) {
            unsigned modifiers = 0;
            const unsigned state = static_cast<unsigned>(scan) >> 8;
            if (state & 1)
                modifiers |= Shift;
            if (state & 2)
                modifiers |= Ctrl;
            if (state & 4)
                modifiers |= Alt;
            addChord(inputs, static_cast<WORD>(scan & 0xFF), modifiers);
        } else { // no key types it on this layout
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = static_cast<WORD>(c);
            in.ki.dwFlags = KEYEVENTF_UNICODE;
            inputs.push_back(in);
            in.ki.dwFlags |= KEYEVENTF_KEYUP;
            inputs.push_back(in);
        }
    }
    send(inputs);
}

void Brindelor::press(WORD vk, unsigned modifiers) const
{
    std::vector<INPUT> inputs;
    addChord(inputs, vk, modifiers);
    send(inputs);
}

void Brindelor::click(Component c) const
{
    RECT r{};
    GetClientRect(hwnd(c), &r);
    click(c, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Brindelor::click(Component c, POINT client, int times) const
{
    ClientToScreen(hwnd(c), &client);
    clickAt(client, times);
}

namespace {

// A mouse event at a screen point: each carries its own place, so that a late
// pointer motion from X cannot move a press elsewhere.
INPUT mouseInput(POINT screen, DWORD flags)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    // The middle of the pixel in the 0..65535 scale of the primary screen.
    in.mi.dx = static_cast<LONG>((2 * screen.x + 1) * 32768LL / width);
    in.mi.dy = static_cast<LONG>((2 * screen.y + 1) * 32768LL / height);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

} // namespace

void Brindelor::moveTo(POINT screen)
{
    std::vector<INPUT> inputs{mouseInput(screen, 0)};
    send(inputs);
}

void Brindelor::clickAt(POINT screen, int times)
{
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i) {
        inputs.push_back(mouseInput(screen, MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(mouseInput(screen, MOUSEEVENTF_LEFTUP));
    }
    send(inputs);
}

DWORD Brindelor::waitForExit(DWORD limitMs) const
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, limitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

} // namespace brindelor::wintest
