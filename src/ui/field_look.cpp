#include "ui/field_look.hpp"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>

namespace ui {
namespace {

// The same colour in every colour group, so a disabled list is grey rather than the style's
// own disabled look, and a read-only field keeps its text colour.
void setRole(QWidget& control, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = control.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, role, colour);
    }
    control.setPalette(palette);
}

void setBackground(QWidget& control, const QColor& colour) {
    setRole(control, QPalette::Base, colour);
    setRole(control, QPalette::Button, colour);
}

}  // namespace

QColor editableColour() {
    return Qt::white;
}
QColor readOnlyColour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}
QColor validTextColour() {
    return Qt::black;
}
QColor invalidTextColour() {
    return Qt::red;
}

void setFieldEditable(QLineEdit& field, bool editable) {
    field.setReadOnly(!editable);
    setBackground(field, editable ? editableColour() : readOnlyColour());
}

void setListEnabled(QComboBox& list, bool enabled) {
    list.setEnabled(enabled);
    setBackground(list, enabled ? editableColour() : readOnlyColour());
    // A disabled list often shows a result (a hemisphere): black, never the pale disabled text.
    setRole(list, QPalette::Text, validTextColour());
    setRole(list, QPalette::ButtonText, validTextColour());
    if (QLineEdit* edit = list.lineEdit())
        setBackground(*edit, enabled ? editableColour() : readOnlyColour());
}

void setReadOnlyBackground(QWidget& box) {
    setBackground(box, readOnlyColour());
}

void setTextValid(QWidget& control, bool valid) {
    const QColor colour = valid ? validTextColour() : invalidTextColour();
    setRole(control, QPalette::Text, colour);
    setRole(control, QPalette::ButtonText, colour);
}

QColor backgroundColour(const QWidget& control) {
    return control.palette().color(QPalette::Active, QPalette::Base);
}

QColor textColour(const QWidget& control) {
    return control.palette().color(QPalette::Active, QPalette::Text);
}

}  // namespace ui
