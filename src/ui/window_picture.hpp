#pragma once
// Pictures of windows for the documentation, rendered by the screenshot tools of both programs.

#include <QString>

class QWidget;

namespace ui {

// Processes pending events so the window is laid out and painted, then saves it as PNG at
// `path`: on the offscreen platform the window alone, on an X display the whole screen with the
// window and its frame. Prints the path on stdout, or an error on stderr and returns false.
bool saveWindowPicture(QWidget& window, const QString& path);

}  // namespace ui
