#pragma once
// The look of input controls on every screen: editable fields and enabled lists are white,
// read-only fields and disabled lists have the grey face colour, valid text is black and
// invalid text red. Set through QPalette so that every style shows it.

#include <QColor>

class QComboBox;
class QLineEdit;
class QWidget;

namespace ui {

QColor editableColour();     // white
QColor readOnlyColour();     // the grey face colour of buttons and scroll bars
QColor validTextColour();    // black
QColor invalidTextColour();  // red

// White and writable, or grey and read-only.
void setFieldEditable(QLineEdit& field, bool editable);
// White and enabled, or grey and disabled (an editable combo's line edit follows); the text is
// black in both.
void setListEnabled(QComboBox& list, bool enabled);
// Grey background for a box the user only reads (help, file list, log).
void setReadOnlyBackground(QWidget& box);
// Black or red text.
void setTextValid(QWidget& control, bool valid);

// What the palette shows now, for tests and screenshots.
QColor backgroundColour(const QWidget& control);
QColor textColour(const QWidget& control);

}  // namespace ui
