#include "style_manager.h"

#include "natives.h"
#include "wide.h"

#include <algorithm>
#include <array>
#include <utility>

namespace brindelor::win32 {

namespace {

// Qt's colour roles and groups, so that one resource reads the same in both
// front ends.
constexpr std::array<std::string_view, 20> kRoles = {
    "WindowText",  "Button",        "Light",       "Midlight",        "Dark",
    "Mid",         "Text",          "BrightText",  "ButtonText",      "Base",
    "Window",      "Shadow",        "Highlight",   "HighlightedText", "Link",
    "LinkVisited", "AlternateBase", "ToolTipBase", "ToolTipText",     "PlaceholderText",
};
constexpr std::array<std::string_view, 3> kGroups = {"Active", "Inactive", "Disabled"};

// The one button is the cancelling one: Escape presses it (Wine's task
// dialog ignores Escape without such a button, whatever the flags).
constexpr int kCloseButton = IDCANCEL;

template <std::size_t N>
bool known(const std::array<std::string_view, N>& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string_view trimmed(std::string_view s)
{
    constexpr std::string_view blanks = " \t\r\f\v";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "#rgb" or "#rrggbb".
std::optional<COLORREF> parseColor(std::string_view text)
{
    if (text.size() != 4 && text.size() != 7)
        return std::nullopt;
    if (text[0] != '#')
        return std::nullopt;
    const std::size_t digits = text.size() == 4 ? 1 : 2;
    int channel[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        int value = 0;
        for (std::size_t d = 0; d < digits; ++d) {
            const int h = hexDigit(text[1 + i * digits + d]);
            if (h < 0)
                return std::nullopt;
            value = value * 16 + h;
        }
        channel[i] = digits == 1 ? value * 17 : value;
    }
    return RGB(channel[0], channel[1], channel[2]);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

void parsePaletteLine(StyleResource& res, std::string_view key, std::string_view value, int line)
{
    const auto problem = [&](std::string_view what) {
        res.problems.push_back("line " + std::to_string(line) + ": " + std::string(key) + ": " + std::string(what));
    };
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dot = key.find('.', start);
        parts.push_back(key.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    if (parts.size() < 2 || parts.size() > 3)
        return problem("expected palette.[Group.]Role");
    StyleResource::Color c;
    if (parts.size() == 3) {
        if (!known(kGroups, parts[1]))
            return problem("unknown colour group");
        c.group = std::string(parts[1]);
    }
    if (!known(kRoles, parts.back()))
        return problem("unknown colour role");
    c.role = std::string(parts.back());
    const std::optional<COLORREF> color = parseColor(value);
    if (!color)
        return problem("not a colour");
    c.color = *color;
    res.colors.push_back(std::move(c));
}

std::vector<StyleResource> loadResources()
{
    std::vector<StyleResource> all;
    const auto collect = [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) -> BOOL {
        auto& found = *reinterpret_cast<std::vector<StyleResource>*>(param);
        HRSRC info = FindResourceW(module, name, type);
        HGLOBAL data = info ? LoadResource(module, info) : nullptr;
        const auto* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
        if (bytes)
            found.push_back(parseStyleResource(std::string_view(bytes, SizeofResource(module, info))));
        return TRUE;
    };
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_RCDATA, collect, reinterpret_cast<LONG_PTR>(&all));
    return all;
}

void showTaskDialog(const TASKDIALOGCONFIG& config)
{
    // Found at run time: without Common Controls 6 the program still starts,
    // and says the same in a message box.
    using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    FARPROC found = controls ? GetProcAddress(controls, "TaskDialogIndirect") : nullptr;
    const auto taskDialog = reinterpret_cast<TaskDialogIndirectFn>(reinterpret_cast<void*>(found));
    if (taskDialog && SUCCEEDED(taskDialog(&config, nullptr, nullptr, nullptr)))
        return;
    MessageBoxW(config.hwndParent, config.pszContent, config.pszWindowTitle, MB_OK | MB_ICONERROR);
}

StyleManager::DialogRunner& currentRunner()
{
    static StyleManager::DialogRunner runner = showTaskDialog;
    return runner;
}

std::string& activeName()
{
    static std::string name;
    return name;
}

void showNotFound(std::string_view name)
{
    const std::wstring text = L"Style '" + wide(name) + L"' non trouv\u00e9";
    const TASKDIALOG_BUTTON close{kCloseButton, L"&Fermer"};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.hwndParent = GetActiveWindow();
    config.hInstance = GetModuleHandleW(nullptr);
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION; // Escape and the close box: the one button
    config.pszWindowTitle = L"Erreur";
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszContent = text.c_str();
    config.cButtons = 1;
    config.pButtons = &close;
    config.nDefaultButton = kCloseButton;
    if (const StyleManager::DialogRunner& run = currentRunner())
        run(config);
}

} // namespace

std::optional<COLORREF> StyleResource::color(std::string_view role, std::string_view group) const
{
    std::optional<COLORREF> everyGroup;
    for (const Color& c : colors) {
        if (c.role != role)
            continue;
        if (c.group == group)
            return c.color;
        if (c.group.empty())
            everyGroup = c.color;
    }
    return everyGroup;
}

Look StyleResource::look(Look start) const
{
    const auto take = [this](COLORREF& into, std::string_view role, std::string_view group = "Active") {
        if (const std::optional<COLORREF> c = color(role, group))
            into = *c;
    };
    take(start.window, "Window");
    take(start.windowText, "WindowText");
    take(start.base, "Base");
    take(start.text, "Text");
    take(start.button, "Button");
    take(start.buttonText, "ButtonText");
    take(start.light, "Light");
    take(start.mid, "Mid");
    take(start.dark, "Dark");
    take(start.highlight, "Highlight");
    take(start.highlightedText, "HighlightedText");
    take(start.disabledText, "Text", "Disabled");
    return start;
}

StyleResource parseStyleResource(std::string_view text)
{
    StyleResource res;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    int number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        if (line == "[stylesheet]")
            break;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) {
            res.problems.push_back("line " + std::to_string(number) + ": expected key: value");
            continue;
        }
        const std::string_view key = trimmed(line.substr(0, colon));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (key == "name")
            res.name = std::string(value);
        else if (key == "base")
            res.base = std::string(value);
        else if (key.substr(0, 8) == "palette.")
            parsePaletteLine(res, key, value, number);
        else
            res.problems.push_back("line " + std::to_string(number) + ": unknown key " + std::string(key));
    }
    if (res.name.empty())
        res.problems.emplace_back("no name");
    if (res.base.empty())
        res.problems.emplace_back("no base");
    return res;
}

bool StyleManager::TrySetStyle(std::string_view name, bool showErrorDialog)
{
    if (!Host::exists())
        return false;
    // Matched against the name stored in each resource, never the resource's own.
    const std::wstring wanted = wide(name);
    const std::vector<StyleResource> all = loadResources();
    const auto found = std::find_if(all.begin(), all.end(), [&](const StyleResource& res) {
        const std::wstring stored = wide(res.name);
        return !stored.empty()
            && CompareStringOrdinal(stored.c_str(), static_cast<int>(stored.size()), wanted.c_str(),
                                    static_cast<int>(wanted.size()), TRUE)
            == CSTR_EQUAL;
    });
    // A resource whose painting this front end lacks counts as not found.
    if (found == all.end() || !equalsIgnoringAsciiCase(found->base, "slate")) {
        if (showErrorDialog)
            showNotFound(name);
        return false;
    }

    Host& host = Host::instance();
    host.look = found->look(Look{});
    host.look.styled = true;
    activeName() = found->name;
    // Start-up applies it before the window exists; later, the window repaints.
    if (const FormWindow* window = host.window(); window && IsWindow(window->hwnd()))
        RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
}

std::vector<std::string> StyleManager::StyleNames()
{
    std::vector<std::string> names;
    for (const StyleResource& res : loadResources()) {
        if (!res.name.empty())
            names.push_back(res.name);
    }
    return names;
}

std::string StyleManager::ActiveStyleName() { return activeName(); }

StyleManager::DialogRunner StyleManager::setDialogRunner(DialogRunner runner)
{
    DialogRunner previous = std::move(currentRunner());
    currentRunner() = runner ? std::move(runner) : DialogRunner(showTaskDialog);
    return previous;
}

} // namespace brindelor::win32
