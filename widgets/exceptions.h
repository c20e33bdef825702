#pragma once
// No exception may unwind through Qt (its libraries are built without
// exception support). Our widgets catch at the edge of each event handler
// and hand what they caught to one handler the program installs.

#include <exception>
#include <functional>

namespace brindelor::widgets {

using ExceptionHandler = std::function<void(std::exception_ptr)>;

// An empty function restores the default, a warning on standard error.
void setExceptionHandler(ExceptionHandler handler);
void handleException(std::exception_ptr error) noexcept;

template <typename F>
void guarded(F&& work) noexcept
{
    try {
        work();
    } catch (...) {
        handleException(std::current_exception());
    }
}

} // namespace brindelor::widgets
