#include "manage/Accessibility.h"

#include <QAccessibleWidget>
#include <QDialog>
#include <QWidget>

namespace pipfield {
namespace {

const char* const kDecorative = "pipfieldDecorative";
const char* const kCombinedRole = "pipfieldCombinedRole";

bool decorative(const QObject* object) {
    return object->property(kDecorative).toBool();
}

/// Our own containers: plain widgets and dialogs whose children may be marked. Buttons and labels
/// keep Qt's own elements.
bool ownContainer(const QObject* object) {
    const QMetaObject* type = object->metaObject();
    const QMetaObject* base = type->superClass();
    return QLatin1String(type->className()).startsWith(QLatin1String("pipfield::")) &&
           (base == &QWidget::staticMetaObject || base == &QDialog::staticMetaObject);
}

/// Qt's widget element, less the children that are marked decorative, or without any children
/// when the widget speaks for them. Marks are read when asked, as Qt keeps an element once made.
class FilteredAccessible final : public QAccessibleWidget {
public:
    FilteredAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QAccessible::Role role() const override {
        const QVariant combined = widget()->property(kCombinedRole);
        return combined.isValid() ? static_cast<QAccessible::Role>(combined.toInt()) : QAccessibleWidget::role();
    }
    int childCount() const override { return static_cast<int>(exposed().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = exposed();
        return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown.at(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr ? static_cast<int>(exposed().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
    }

private:
    QList<QWidget*> exposed() const {
        QList<QWidget*> out;
        if (widget()->property(kCombinedRole).isValid()) {
            return out;
        }
        for (QObject* child : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w != nullptr && !w->isWindow() && !decorative(w)) {
                out.append(w);
            }
        }
        return out;
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->property(kCombinedRole).isValid() && !ownContainer(widget)) {
        return nullptr;
    }
    QAccessible::Role role = QAccessible::Client;
    if (qobject_cast<QDialog*>(widget) != nullptr) {
        role = QAccessible::Dialog;
    } else if (widget->isWindow()) {
        role = QAccessible::Window;
    }
    return new FilteredAccessible(widget, role);
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

void markDecorative(QWidget* widget) {
    installFactory();
    widget->setProperty(kDecorative, true);
}

void markCombined(QWidget* widget, QAccessible::Role role) {
    installFactory();
    widget->setProperty(kCombinedRole, static_cast<int>(role));
}

} // namespace pipfield
