#pragma once
// A single-line edit box that checks its text on every change and colours itself: the screen
// gives it a checker (a call of the core) that parses the text, stores the value and says
// whether the text is valid, or that the field is not checked now (a field the chosen settings
// do not let the user edit keeps its colour).

#include <QLineEdit>
#include <functional>
#include <optional>
#include <string>

namespace ui {

class InputField : public QLineEdit {
    Q_OBJECT
  public:
    // Gets the text as UTF-8; returns the validity, or nothing when the field is not checked.
    using Checker = std::function<std::optional<bool>(const std::string& text)>;

    explicit InputField(QWidget* parent = nullptr);

    void setChecker(Checker checker);
    // White and writable, or grey and read-only.
    void setEditable(bool editable);
    // Black or red text, as the last check left it or as a screen sets it.
    void showValid(bool valid);
    bool shownValid() const { return valid_; }

  signals:
    // After every checked change, with the checker's answer.
    void checked(bool valid);

  private:
    void check(const QString& text);

    Checker checker_;
    bool valid_ = true;
};

}  // namespace ui
