#include "calculator_probe.h"

#include "host.h"

#include "brindelor/form/application.h"
#include "brindelor/form/calc_edit.h"

namespace brindelor::wintest {

namespace {

// A window with the entry alone, never shown.
class ProbeForm final : public form::Form {
public:
    explicit ProbeForm(form::Application& application)
        : Form(application, "probe")
    {
        bounds = {0, 0, 120, 40};
        entry = add<form::CalcEdit>("entry");
        entry->bounds = {8, 8, 94, 21};
        entry->tabOrder = 0;
        createWindow();
    }
    ~ProbeForm() override { destroyWindow(); }

    form::CalcEdit* entry = nullptr;
};

} // namespace

bool calculatorBuilt()
{
    static const bool built = [] {
        win32::Host host(GetModuleHandleW(nullptr));
        form::Application application(host, "probe.exe");
        ProbeForm probe(application);
        return host.createCalculator(*probe.entry) != nullptr;
    }();
    return built;
}

} // namespace brindelor::wintest
