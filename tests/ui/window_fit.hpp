#pragma once
// Whether a window is whole on the smallest screen the programs accept: 800×600 less a 40 px
// panel and the window manager's title bar. Lists the faults found: the window beyond the
// screen, a control beyond its window, a text cut (label, button, check box, group title, field
// text, the longest item of a list), and a Tab step that goes against the reading order.

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

namespace ui_test {

inline constexpr QSize kSmallScreen{800, 600 - 40};  // device pixels

// The small screen in the window's own (scaled) pixels.
inline QSize smallScreen(const QWidget& window) {
    return (QSizeF(kSmallScreen) / window.devicePixelRatioF()).toSize();
}

// A window too large for the screen shows its content in this scroll area.
inline QWidget* scrolledContent(QWidget& window) {
    auto* area =
        window.findChild<QScrollArea*>(QStringLiteral("ScreenScroll"), Qt::FindDirectChildrenOnly);
    return area ? area->widget() : nullptr;
}

// A title bar as window managers draw it: about two lines of the window font.
inline int titleBarHeight(const QWidget& window) {
    return 2 * window.fontMetrics().height();
}

inline QString describe(const QWidget& control) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(&control)) text = label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(&control)) text = button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(&control)) text = group->title();
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(control.metaObject()->className()), control.objectName(), text);
}

// Part of a compound control (a list's editor, a text box's viewport or scroll bars).
inline bool insideCompound(const QWidget& control, const QWidget& window) {
    for (const QWidget* up = control.parentWidget(); up && up != &window; up = up->parentWidget())
        if (qobject_cast<const QComboBox*>(up) ||
            (qobject_cast<const QAbstractScrollArea*>(up) &&
             up->objectName() != QStringLiteral("ScreenScroll")))
            return true;
    return false;
}

inline QStringList cutTexts(const QWidget& control) {
    QStringList faults;
    const QFontMetrics metrics = control.fontMetrics();
    if (auto* list = qobject_cast<const QComboBox*>(&control)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        option.editable = list->isEditable();
        const int room =
            list->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                .width();
        for (int i = 0; i < list->count(); ++i) {
            if (metrics.horizontalAdvance(list->itemText(i)) > room)
                faults << QStringLiteral("item \"%1\" of %2 cut (%3 px room)")
                              .arg(list->itemText(i), list->objectName())
                              .arg(room);
        }
        return faults;
    }
    if (auto* field = qobject_cast<const QLineEdit*>(&control)) {
        const int room = field->contentsRect().width() - 4;
        if (metrics.horizontalAdvance(field->text()) > room)
            faults
                << QStringLiteral("text \"%1\" of %2 cut").arg(field->text(), field->objectName());
        return faults;
    }
    const bool wrapped =
        qobject_cast<const QLabel*>(&control) && static_cast<const QLabel&>(control).wordWrap();
    if (qobject_cast<const QLabel*>(&control) || qobject_cast<const QAbstractButton*>(&control) ||
        qobject_cast<const QGroupBox*>(&control)) {
        const QSize needed = wrapped ? control.minimumSizeHint() : control.sizeHint();
        if (control.width() < needed.width() ||
            (!qobject_cast<const QGroupBox*>(&control) && control.height() < needed.height()))
            faults << describe(control) + QStringLiteral(" cut");
    }
    return faults;
}

// The faults of a shown window and its controls.
inline QStringList fitFaults(QWidget& window) {
    QStringList faults;
    const QString name = window.objectName();
    const QSize screen = smallScreen(window);
    if (window.width() > screen.width() ||
        window.height() + titleBarHeight(window) > screen.height())
        faults << QStringLiteral("%1 is %2x%3").arg(name).arg(window.width()).arg(window.height());
    // The caption stands in the title bar beside about three buttons, in a bold font.
    QFont titleFont = window.font();
    titleFont.setBold(true);
    const int titleNeeds = QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) +
                           3 * titleBarHeight(window);
    if (window.width() < titleNeeds)
        faults << QStringLiteral("%1: caption \"%2\" cut").arg(name, window.windowTitle());
    // Controls lie inside the window, or inside the scrolled content when it scrolls.
    QWidget* content = scrolledContent(window);
    QWidget& frame = content ? *content : window;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisibleTo(&window) || control->isWindow() ||
            insideCompound(*control, window))
            continue;
        QWidget& reference = frame.isAncestorOf(control) ? frame : window;
        const QRect place(control->mapTo(&reference, QPoint(0, 0)), control->size());
        if (!reference.rect().contains(place))
            faults << QStringLiteral("%1: %2 outside").arg(name, describe(*control));
        for (const QString& fault : cutTexts(*control))
            faults << name + QStringLiteral(": ") + fault;
    }
    return faults;
}

// Steps of the Tab key that go back against the reading order: up within a column, or left
// within a row. Returns the faults as "from -> to".
inline QStringList tabOrderFaults(QWidget& window) {
    QStringList faults;
    QList<QWidget*> chain;
    QWidget* next = &window;
    for (int guard = 0; guard < 500; ++guard) {
        next = next->nextInFocusChain();
        if (next == &window) break;
        if (next->window() != &window || !next->isVisible() || !next->isEnabled() ||
            !(next->focusPolicy() & Qt::TabFocus) || insideCompound(*next, window))
            continue;
        chain << next;
    }
    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QRect a(chain[i - 1]->mapTo(&window, QPoint(0, 0)), chain[i - 1]->size());
        const QRect b(chain[i]->mapTo(&window, QPoint(0, 0)), chain[i]->size());
        const bool sameRow = b.top() < a.bottom() && a.top() < b.bottom();
        const bool backUp = b.bottom() < a.top() && b.left() < a.right();
        const bool backLeft = sameRow && b.right() <= a.left();
        if (backUp || backLeft)
            faults << QStringLiteral("%1: %2 -> %3")
                          .arg(window.objectName(), describe(*chain[i - 1]), describe(*chain[i]));
    }
    return faults;
}

}  // namespace ui_test
