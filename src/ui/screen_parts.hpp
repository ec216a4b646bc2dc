#pragma once
// Small construction helpers shared by the windows of both programs.

#include <QString>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>

class QBoxLayout;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;
class QSize;

namespace ui {

QLabel* makeLabel(QWidget* parent, std::string_view text, const char* name = nullptr);
QPushButton* makeButton(QWidget* parent, std::string_view caption, const char* name,
                        bool bold = true);
// A drop-down list without typing.
QComboBox* makeList(QWidget* parent, const char* name);
// Replaces the items of a list without raising its change event and selects `index`.
void setListItems(QComboBox& list, const QStringList& items, int index = 0);
QStringList itemList(std::span<const std::string_view> items);
// Selects an item without raising the change event.
void selectQuietly(QComboBox& list, int index);
// A row with the buttons evenly spaced across it.
QBoxLayout* evenButtonRow(std::initializer_list<QPushButton*> buttons);
// Fixed dialog frame of the given size, at least as large as the layout needs, but never larger
// than the smallest screen the programs accept (800×600 less a panel and the title bar): a
// window that needs more shows its content in a scroll area.
void fixSize(QWidget& window, int width, int height);
// The batch screen takes the size of the set-up screen: its text boxes shrink to any room.
void fitBatchScreen(QWidget& batchScreen, QSize setupSize);
// The size the window's content asks for (inside its scroll area when it has one).
QSize neededSize(const QWidget& window);
// The room a window has on that smallest screen, title bar excluded.
QSize smallScreenRoom(const QWidget& window);
// Centres a window on its screen.
void centreOnScreen(QWidget& window);
// Centres a window on the window that opens it (or on the screen when there is none).
void centreOnWindow(QWidget& window, const QWidget* opener);
// Centres a dialog being shown on the window that is active when it opens.
void centreOnActiveWindow(QWidget& window);
// Puts `window` exactly where `other` stands (their client areas), so two screens that take
// turns read as one window.
void takePlaceOf(QWidget& window, const QWidget& other);
// Return and keypad Enter anywhere in `window` press the focused button, or else `mainButton`
// when it is enabled. Lists, fields and check boxes pass the key on to the window.
// "Копировать" on the groups that show a result: an entry of their context menu and Ctrl+C
// while the focus is in one of them put `text()` on the clipboard. A read-only field without a
// selection leaves Ctrl+C to the group.
void addCopyAction(std::initializer_list<QWidget*> groups, std::function<QString()> text);
// `mainButton` may be null: then only a focused button is pressed.
void pressMainButtonOnEnter(QWidget& window, QPushButton* mainButton);

}  // namespace ui
