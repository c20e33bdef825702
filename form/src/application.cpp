#include "brindelor/form/application.h"

#include "brindelor/form/controls.h"
#include "brindelor/form/platform.h"
#include "brindelor/form/text.h"

#include <algorithm>

namespace brindelor::form {

namespace {

// Lower case for the letters a file name is likely to hold: Latin (ASCII,
// Latin-1, Latin Extended-A), Greek and Cyrillic capitals; surrogates and
// everything else stay as they are.
char32_t toLower(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0x130)
        return U'i';
    if (c == 0x178)
        return 0xFF;
    const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1))
        return c + 1;
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

// Every character after the first in lower case.
std::string lowerAfterFirst(std::string_view name)
{
    std::u16string text = toUtf16(name);
    for (std::size_t i = 1; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(toLower(text[i]));
    return toUtf8(text);
}

} // namespace

std::string applicationTitle(std::string_view executablePath)
{
    const std::size_t slash = executablePath.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    return lowerAfterFirst(name);
}

std::string errorBoxText(std::string_view message)
{
    std::string text(message);
    // A multi-byte character ends in a continuation byte, above "." too.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

Application::Application(Platform& platform, std::string_view executablePath)
    : platform_(platform)
    , title_(applicationTitle(executablePath))
{
}

void Application::setNumberSettings(Separators separators)
{
    if (separators.decimal == separators_.decimal && separators.group == separators_.group)
        return;
    separators_ = std::move(separators);
    const std::vector<Form*> forms = forms_;
    for (Form* form : forms)
        form->numberSettingsChanged();
}

void Application::showMessage(std::string_view message) noexcept
{
    try {
        platform_.showErrorBox(title_, errorBoxText(message));
    } catch (...) {
        // Nothing sensible is left to do when showing the error fails.
    }
}

void Application::HandleException(const std::exception& error) noexcept
{
    showMessage(error.what());
}

void Application::HandleUnknownException() noexcept
{
    showMessage("Erreur inconnue");
}

} // namespace brindelor::form
