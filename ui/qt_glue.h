#pragma once
// Between Qt's types and the form's: texts, keys, focus reasons, geometry.

#include "brindelor/form/controls.h"
#include "brindelor/form/keys.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

class QKeyEvent;
class QWidget;

namespace brindelor::ui {

// A view of a QString's UTF-16 units, no copy.
inline std::u16string_view view(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

form::Key keyOf(const QKeyEvent* event);
form::FocusCause causeOf(Qt::FocusReason reason);
Qt::FocusReason reasonOf(form::FocusCause cause);

inline QRect toQRect(form::Rect r) { return {r.left, r.top, r.width, r.height}; }
inline form::Rect toRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
inline QColor toQColor(form::Rgb c) { return {c.red, c.green, c.blue}; }

// The window's font with the given styles.
QFont fontOf(form::FontStyle style);

// What every native control takes from its component: name, place, its own
// font if it declares one, visibility, accessible name.
void applyLayout(QWidget* widget, const form::Control& control);

} // namespace brindelor::ui
