#pragma once
// The beep of a refused key or paste, with a seam so that tests can count.

#include <functional>

namespace brindelor::ui {

// QApplication::beep(), or the seam when one is set.
void beep();

// Tests replace the beep; an empty function restores it.
void setBeepSeam(std::function<void()> seam);

} // namespace brindelor::ui
