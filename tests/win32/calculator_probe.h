#pragma once

namespace brindelor::wintest {

// Whether the Win32 front end builds the drop-down calculator: asked of its
// Host, in this process, on a hidden entry of its own.
bool calculatorBuilt();

} // namespace brindelor::wintest
