#include "exceptions.h"

#include <QtGlobal>

namespace brindelor::widgets {

namespace {

ExceptionHandler& currentHandler()
{
    static ExceptionHandler handler;
    return handler;
}

} // namespace

void setExceptionHandler(ExceptionHandler handler) { currentHandler() = std::move(handler); }

void handleException(std::exception_ptr error) noexcept
{
    try {
        if (currentHandler()) {
            currentHandler()(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qWarning("brindelor: %s", e.what());
    } catch (...) {
        qWarning("brindelor: unknown exception");
    }
}

} // namespace brindelor::widgets
