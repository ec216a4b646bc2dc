#include "ui/screen_parts.hpp"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
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

// A read-only field without a selection does not claim Ctrl+C, so the group's action gets it.
class CopyPasser final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const auto* field = qobject_cast<QLineEdit*>(watched);
        if (!field || !field->isReadOnly() || field->hasSelectedText()) return false;
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) return false;
        event->ignore();
        return true;
    }
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
    // Never narrower than its longest item, whatever the layout or the first items were: a
    // zone "20" read as "2" is a wrong prefix on paper.
    int longest = 0;
    for (const QString& item : items)
        longest = std::max(longest, list.fontMetrics().horizontalAdvance(item));
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.editable = list.isEditable();
    const QSize whole = list.style()->sizeFromContents(
        QStyle::CT_ComboBox, &option, QSize(longest, list.fontMetrics().height()), &list);
    if (whole.width() > list.minimumWidth()) list.setMinimumWidth(whole.width());
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

QSize smallScreenRoom(const QWidget& window) {
    // 800×600 device pixels less a 40 px panel; a title bar is about two lines of the window's
    // font. With large fonts Qt scales: the room in the window's own pixels is smaller.
    const int titleBar = 2 * window.fontMetrics().height();
    const QSize smallest = (QSizeF(800, 600 - 40) / window.devicePixelRatioF()).toSize();
    QSize room = smallest - QSize(0, titleBar);
    if (const QScreen* screen = window.screen())
        room = room.boundedTo(screen->availableGeometry().size() - QSize(0, titleBar));
    return room;
}

void fitBatchScreen(QWidget& batchScreen, QSize setupSize) {
    batchScreen.setFixedSize(setupSize.expandedTo(batchScreen.minimumSizeHint())
                                 .boundedTo(smallScreenRoom(batchScreen)));
}

QSize neededSize(const QWidget& window) {
    const auto* area =
        window.findChild<QScrollArea*>(QStringLiteral("ScreenScroll"), Qt::FindDirectChildrenOnly);
    const QWidget& content = area ? *area->widget() : window;
    return content.sizeHint().expandedTo(content.minimumSizeHint());
}

// The caption stands whole in the title bar beside its buttons (bold, as most window managers
// draw it).
static int captionWidth(const QWidget& window) {
    QFont font = window.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) +
           6 * window.fontMetrics().height();
}

void fixSize(QWidget& window, int width, int height) {
    const QSize content = neededSize(window);
    const QSize room = smallScreenRoom(window);
    const QSize aim = QSize(std::max(width, captionWidth(window)), height).expandedTo(content);
    const bool scrolled = window.findChild<QScrollArea*>(QStringLiteral("ScreenScroll"),
                                                         Qt::FindDirectChildrenOnly) != nullptr;
    if (!scrolled && content.width() <= room.width() && content.height() <= room.height()) {
        window.setFixedSize(aim.boundedTo(room));
        return;
    }
    if (!scrolled) {
        // The window's content moves into a scroll area that becomes its only child.
        auto* inner = new QWidget;
        inner->setLayout(window.layout());
        auto* area = new QScrollArea(&window);
        area->setObjectName(QStringLiteral("ScreenScroll"));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        area->setWidget(inner);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(area);
    }
    const int scrollBar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    window.setFixedSize((aim + QSize(scrollBar, 0)).boundedTo(room));
}

void centreOnScreen(QWidget& window) {
    centreOnWindow(window, nullptr);
}

void centreOnWindow(QWidget& window, const QWidget* opener) {
    const QScreen* screen = opener ? opener->screen() : window.screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // move() places the frame; both frames share one centre. Before its first showing a window
    // has no frame yet: it will get one like the opener's, or about two lines of title bar.
    const QPoint centre = opener ? opener->frameGeometry().center() : area.center();
    QSize outer = window.frameGeometry().size();
    if (outer == window.size())
        outer += opener ? opener->frameGeometry().size() - opener->size()
                        : QSize(0, 2 * window.fontMetrics().height());
    QPoint topLeft = centre - QPoint(outer.width() / 2, outer.height() / 2);
    // Never beyond the screen: the title bar stays reachable.
    topLeft.setX(std::clamp(topLeft.x(), area.left(),
                            std::max(area.left(), area.right() + 1 - outer.width())));
    topLeft.setY(std::clamp(topLeft.y(), area.top(),
                            std::max(area.top(), area.bottom() + 1 - outer.height())));
    window.move(topLeft);
}

void centreOnActiveWindow(QWidget& window) {
    const QWidget* active = QApplication::activeWindow();
    centreOnWindow(window, active != &window ? active : nullptr);
}

void takePlaceOf(QWidget& window, const QWidget& other) {
    window.setGeometry(other.geometry());
}

void addCopyAction(std::initializer_list<QWidget*> groups, std::function<QString()> text) {
    for (QWidget* group : groups) {
        auto* copy = new QAction(QStringLiteral("Копировать"), group);
        copy->setObjectName(QStringLiteral("CopyAction"));
        copy->setShortcut(QKeySequence::Copy);
        copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(copy, &QAction::triggered, group,
                         [text] { QGuiApplication::clipboard()->setText(text()); });
        group->addAction(copy);
        group->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* passer = new CopyPasser(group);
        for (QLineEdit* field : group->findChildren<QLineEdit*>())
            field->installEventFilter(passer);
    }
}

void pressMainButtonOnEnter(QWidget& window, QPushButton* mainButton) {
    window.installEventFilter(new EnterPresser(window, mainButton));
}

}  // namespace ui
