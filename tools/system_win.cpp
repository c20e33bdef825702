#include "system.h"

#include "user_locale.h"

#include "brindelor/form/text.h"

#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace brindelor::tools {

namespace {

std::string utf8(const wchar_t* text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return form::toUtf8(reinterpret_cast<const char16_t*>(text));
}

} // namespace

std::vector<std::string> arguments(int, char**)
{
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 0; i < count; ++i)
        args.push_back(utf8(wide[i]));
    LocalFree(wide);
    return args;
}

void useBinaryStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

Separators localeSeparators() { return win32::userLocaleSeparators(); }

} // namespace brindelor::tools
