#pragma once
// The entry's drop-down calculator panel: a Qt popup below the entry (above
// it when there is no room), with no focus of its own. The form's entry
// decides what each key does; this shows the keys and the display.

#include "brindelor/form/peers.h"

#include <QFrame>

class QLabel;
class QToolButton;

// Declared only: moc cannot parse the C++20 headers the form pulls in.
namespace brindelor::form {
class CalcEdit;
}

namespace brindelor::ui {

class CalculatorPopup final : public QFrame, public form::PanelPeer {
    Q_OBJECT
public:
    // entryWidget: the entry's own widget, which keeps the focus.
    CalculatorPopup(form::CalcEdit& entry, QWidget* entryWidget);
    ~CalculatorPopup() override;

    QString displayText() const;

    bool isOpen() const override { return isVisible(); }
    void popUp() override;
    void close() override { hide(); }
    void refresh() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeAgainstEntry();

    form::CalcEdit& entry_;
    QWidget* entryWidget_;
    QLabel* display_ = nullptr;
    QToolButton* pointKey_ = nullptr;
};

} // namespace brindelor::ui
