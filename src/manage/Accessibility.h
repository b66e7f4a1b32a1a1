#pragma once

#include <QAccessible>

class QWidget;

namespace pipfield {

/// Leaves `widget` out of what assistive technology reads: pictures that only decorate.
void markDecorative(QWidget* widget);
/// Makes `widget` one element, read by its accessible name in `role`; its children are not read
/// again on their own.
void markCombined(QWidget* widget, QAccessible::Role role = QAccessible::StaticText);

} // namespace pipfield
