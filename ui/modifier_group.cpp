#include "modifier_group.h"

#include <QKeyEvent>

#include <algorithm>

namespace brindelor::ui {

ModifierRadioButton::ModifierRadioButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent)
{
}

void ModifierRadioButton::keyPressEvent(QKeyEvent* event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (group_ && plain) {
        switch (event->key()) {
        case Qt::Key_Down:
        case Qt::Key_Right:
            group_->move(this, +1);
            event->accept();
            return;
        case Qt::Key_Up:
        case Qt::Key_Left:
            group_->move(this, -1);
            event->accept();
            return;
        default:
            break;
        }
    }
    QRadioButton::keyPressEvent(event);
}

void ModifierRadioButton::focusInEvent(QFocusEvent* event)
{
    // Qt gives the Tab stop to whichever option has the focus; put it back.
    QRadioButton::focusInEvent(event);
    if (group_)
        group_->updateFocusPolicies();
}

ModifierGroup::ModifierGroup(QWidget* groupBox, std::vector<ModifierRadioButton*> order)
    : QObject(groupBox)
    , order_(std::move(order))
{
}

ModifierGroup* ModifierGroup::attach(QWidget* groupBox, std::vector<ModifierRadioButton*> order)
{
    auto* group = new ModifierGroup(groupBox, std::move(order));
    for (ModifierRadioButton* button : group->order_) {
        button->group_ = group;
        connect(button, &QAbstractButton::toggled, group, &ModifierGroup::updateFocusPolicies);
    }
    group->updateFocusPolicies();
    return group;
}

void ModifierGroup::move(ModifierRadioButton* from, int step)
{
    const auto it = std::find(order_.begin(), order_.end(), from);
    if (it == order_.end() || order_.empty())
        return;
    const auto count = static_cast<std::ptrdiff_t>(order_.size());
    const std::ptrdiff_t index = ((it - order_.begin()) + step % count + count) % count;
    ModifierRadioButton* target = order_[static_cast<std::size_t>(index)];
    target->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    if (!target->isChecked())
        target->setChecked(true);
}

void ModifierGroup::updateFocusPolicies()
{
    const bool anyChecked = std::any_of(order_.begin(), order_.end(),
                                        [](const ModifierRadioButton* b) { return b->isChecked(); });
    for (ModifierRadioButton* button : order_) {
        // With nothing checked the first option is the stop.
        const bool stop = anyChecked ? button->isChecked() : button == order_.front();
        button->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

} // namespace brindelor::ui
