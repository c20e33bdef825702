#pragma once
// The entry's drop-down calculator: a popup that never takes the activation
// nor the focus. The entry keeps the focus and hands it its keys; the mouse
// is captured while it is open, so that a click anywhere else closes it and
// goes no further.

#include "host.h"
#include "natives.h"

#include "brindelor/form/calc_edit.h"
#include "brindelor/form/peers.h"

#include <windows.h>

#include <array>

namespace brindelor::win32 {

// A push button as we draw it (the calculator's keys, the entry's drop-down
// button): raised, or sunken while pressed. Returns the face left for the
// content, shifted while pressed.
RECT drawPushButton(HDC dc, RECT r, const Look& look, bool pressed);
// A small down arrow centred in r.
void drawDownArrow(HDC dc, RECT r, COLORREF color, int scale);

class CalculatorPanel final : public form::PanelPeer, public WindowTarget {
public:
    CalculatorPanel(Host& host, Entry& entry);
    ~CalculatorPanel();
    CalculatorPanel(const CalculatorPanel&) = delete;
    CalculatorPanel& operator=(const CalculatorPanel&) = delete;

    bool isOpen() const override { return open_; }
    void popUp() override;
    void close() override;
    void refresh() override;

    HWND hwnd() const noexcept { return hwnd_; }
    LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int kKeys = static_cast<int>(std::size(form::kCalculatorKeys));

    form::CalcEdit& calc() const;
    void layOut();
    int keyAt(POINT p) const; // -1 for none
    void paint(HDC dc);
    void buttonDown(POINT p);
    void buttonUp(POINT p);
    // The main window: deactivated, moved or minimised, it closes the panel.
    static LRESULT CALLBACK ownerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    Host& host_;
    Entry& entry_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    RECT ownerRect_{}; // where the main window stood when the panel opened
    HWND tips_ = nullptr;
    bool open_ = false;
    int pressed_ = -1;      // the key the mouse went down on
    bool pressedIn_ = false; // and the mouse still over it
    SIZE size_{};           // the window's, border included
    RECT display_{};
    std::array<RECT, kKeys> keys_{};
};

} // namespace brindelor::win32
