#pragma once
// The visual styles the program carries among its resources (RCDATA), in the
// Qt front end's .style text:
//   # a comment
//   name: Slate Classico          the name TrySetStyle matches, case ignored
//   base: slate                   the painting: "slate" is the only one here
//   palette.Window: #d4dae0       a colour role for every colour group
//   palette.Disabled.Text: #8b95a0   ... or for one (Active, Inactive, Disabled)
//   [stylesheet]                  the rest is for Qt alone
// Roles a resource leaves out keep the system's colours.

#include "host.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brindelor::win32 {

struct StyleResource {
    struct Color {
        std::string group; // empty: every group
        std::string role;
        COLORREF color = 0;
    };

    std::string name;
    std::string base;
    std::vector<Color> colors;
    std::vector<std::string> problems; // lines not understood, with their numbers

    // A role's colour in a group: the group's own line wherever it stands,
    // else a line for every group.
    std::optional<COLORREF> color(std::string_view role, std::string_view group = "Active") const;
    // `start` with this resource's colours over it.
    Look look(Look start) const;
};

StyleResource parseStyleResource(std::string_view text);

class StyleManager {
public:
    // Looks for the style whose stored name equals `name` without regard to
    // case and applies it to the host's look. Not found: with
    // showErrorDialog, the box "Erreur" / "Style '<name>' non trouvé" /
    // "&Fermer"; returns false and leaves the look as it was.
    static bool TrySetStyle(std::string_view name, bool showErrorDialog);

    // The names stored in the style resources, in resource order.
    static std::vector<std::string> StyleNames();
    // The stored name of the style applied last, empty before the first.
    static std::string ActiveStyleName();

    // Test seam: shows the "not found" box. Default: TaskDialogIndirect.
    // Returns the runner that was in place; an empty one restores the default.
    using DialogRunner = std::function<void(const TASKDIALOGCONFIG&)>;
    static DialogRunner setDialogRunner(DialogRunner runner);
};

} // namespace brindelor::win32
