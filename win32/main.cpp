// The program on Windows: the application, the style, the window, the loop.

#include "host.h"
#include "natives.h"
#include "style_manager.h"
#include "wide.h"

#include "brindelor/form/application.h"
#include "brindelor/form/frm_CALC.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace brindelor;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    win32::Host host(instance);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    form::Application application(host, win32::utf8(path));
    application.setNumberSettings(win32::Host::localeSeparators());
    // Its result is not checked: not found, the box says so and the system's
    // look stays.
    win32::StyleManager::TrySetStyle("Slate Classico", true);

    {
        // The window shows itself at the end of its creation.
        Tform_CALC form(application);
        if (auto* window = dynamic_cast<win32::FormWindow*>(form.peer()))
            host.run(*window);
    }
    return 0;
}
