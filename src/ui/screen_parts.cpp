#include "ui/screen_parts.hpp"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "ui/batch_screen.hpp"
#include "ui/qt_text.hpp"

namespace ui {
namespace {

// Sees Return and Enter that no control of the window took.
class EnterPresser final : public QObject {
  public:
    EnterPresser(QWidget& window, QPushButton* mainButton)
        : QObject(&window), window_(window), mainButton_(mainButton) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        QPushButton* target = qobject_cast<QPushButton*>(window_.focusWidget());
        if (!target || !target->isVisible() || !target->isEnabled()) target = mainButton_;
        if (target && target->isVisible() && target->isEnabled()) target->click();
        return true;
    }

  private:
    QWidget& window_;
    QPointer<QPushButton> mainButton_;
};

}  // namespace

QLabel* makeLabel(QWidget* parent, std::string_view text, const char* name) {
    auto* label = new QLabel(fromUtf8(text), parent);
    if (name) label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* makeButton(QWidget* parent, std::string_view caption, const char* name, bool bold) {
    auto* button = new QPushButton(fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    if (bold) makeBold(*button);
    return button;
}

QComboBox* makeList(QWidget* parent, const char* name) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(false);
    return list;
}

void setListItems(QComboBox& list, const QStringList& items, int index) {
    const QSignalBlocker block(&list);
    list.clear();
    list.addItems(items);
    list.setCurrentIndex(items.isEmpty() ? -1 : index);
}

QStringList itemList(std::span<const std::string_view> items) {
    QStringList list;
    for (std::string_view item : items) list << fromUtf8(item);
    return list;
}

void selectQuietly(QComboBox& list, int index) {
    const QSignalBlocker block(&list);
    list.setCurrentIndex(index);
}

QBoxLayout* evenButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    for (QPushButton* button : buttons) {
        row->addStretch(1);
        row->addWidget(button);
    }
    row->addStretch(1);
    return row;
}

void fixSize(QWidget& window, int width, int height) {
    const QSize needed = window.sizeHint().expandedTo(window.minimumSizeHint());
    window.setFixedSize(QSize(width, height).expandedTo(needed));
}

void centreOnScreen(QWidget& window) {
    centreOnWindow(window, nullptr);
}

void centreOnWindow(QWidget& window, const QWidget* opener) {
    const QScreen* screen = opener ? opener->screen() : window.screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // move() places the frame; both frames share one centre.
    const QPoint centre = opener ? opener->frameGeometry().center() : area.center();
    const QSize outer = window.frameGeometry().size();
    QPoint topLeft = centre - QPoint(outer.width() / 2, outer.height() / 2);
    // Never beyond the screen: the title bar stays reachable.
    topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    window.move(topLeft);
}

void centreOnActiveWindow(QWidget& window) {
    const QWidget* active = QApplication::activeWindow();
    centreOnWindow(window, active != &window ? active : nullptr);
}

void takePlaceOf(QWidget& window, const QWidget& other) {
    window.setGeometry(other.geometry());
}

void pressMainButtonOnEnter(QWidget& window, QPushButton* mainButton) {
    window.installEventFilter(new EnterPresser(window, mainButton));
}

}  // namespace ui
