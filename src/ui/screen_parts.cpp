#include "ui/screen_parts.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "ui/batch_screen.hpp"
#include "ui/qt_text.hpp"

namespace ui {

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
    if (const QScreen* screen = window.screen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
    }
}

}  // namespace ui
