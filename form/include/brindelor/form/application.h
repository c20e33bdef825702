#pragma once
// The application object of the form: its title, the locale's number
// settings, and the default handler that shows what a handler let go.

#include "brindelor/tariff/separators.h"

#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace brindelor::form {

class Form;
class Platform;

// The executable's file name without its folder ("/" or "\"), cut at its
// first ".", every character after the first in lower case:
// "C:\Program Files\Brindelor\BRINDELOR.EXE" gives "Brindelor".
std::string applicationTitle(std::string_view executablePath);

// The error box's text: the message, with a "." appended when the message
// is not empty and its last character's code is greater than that of ".".
std::string errorBoxText(std::string_view message);

class Application {
public:
    Application(Platform& platform, std::string_view executablePath);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Platform& platform() const noexcept { return platform_; }

    // The caption of error boxes; nothing sets another.
    const std::string& Title() const noexcept { return title_; }

    // The locale's decimal and group separators, as the front end read them.
    const Separators& numberSettings() const noexcept { return separators_; }
    // A front end read them again (the system announced a change): the
    // forms redraw what depends on them.
    void setNumberSettings(Separators separators);

    // The default handler: the error box with the exception's message.
    void HandleException(const std::exception& error) noexcept;
    void HandleUnknownException() noexcept;

    // Runs one event's work; whatever it throws reaches the default handler
    // and the event ends there.
    template <typename F>
    void run(F&& work) noexcept
    {
        try {
            work();
        } catch (const std::exception& error) {
            HandleException(error);
        } catch (...) {
            HandleUnknownException();
        }
    }

private:
    friend class Form;
    void showMessage(std::string_view message) noexcept;

    Platform& platform_;
    std::string title_;
    Separators separators_;
    std::vector<Form*> forms_;
};

} // namespace brindelor::form
