#include "ui/input_field.hpp"

#include <utility>

#include "ui/field_look.hpp"

namespace ui {

InputField::InputField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &InputField::check);
    setEditable(true);
    showValid(true);
}

void InputField::setChecker(Checker checker) {
    checker_ = std::move(checker);
}

void InputField::setEditable(bool editable) {
    setFieldEditable(*this, editable);
}

void InputField::showValid(bool valid) {
    valid_ = valid;
    setTextValid(*this, valid);
}

void InputField::check(const QString& text) {
    if (!checker_) return;
    const std::optional<bool> result = checker_(text.toStdString());
    if (!result) return;
    showValid(*result);
    emit checked(*result);
}

}  // namespace ui
