#include "feedback.h"

#include <QApplication>

namespace brindelor::ui {

namespace {
std::function<void()>& beepSeam()
{
    static std::function<void()> seam;
    return seam;
}
} // namespace

void beep()
{
    if (beepSeam())
        beepSeam()();
    else
        QApplication::beep();
}

void setBeepSeam(std::function<void()> seam) { beepSeam() = std::move(seam); }

} // namespace brindelor::ui
