#pragma once
// The start of both programs: the screen must be at least 800 x 600 pixels, otherwise an error
// message and an orderly end; then the program's information message.

#include <QSize>
#include <QString>

namespace ui {

class DialogService;

inline constexpr int kMinScreenWidth = 800;
inline constexpr int kMinScreenHeight = 600;
inline constexpr const char* kScreenTooSmall = "Установите разрешение экрана не менее 800*600!";

bool screenLargeEnough(QSize screen);

// Shows the error message and returns false below 800 x 600; otherwise shows `information`
// and returns true.
bool checkScreenAndGreet(DialogService& dialogs, QSize screen, const QString& information);

// The size of the primary screen (an empty size when there is none).
QSize primaryScreenSize();

}  // namespace ui
