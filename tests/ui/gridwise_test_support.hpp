#pragma once
// What Gridwise's window tests share: a fresh state with the eight windows, and the helpers that
// drive them.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "gridwise/state.hpp"
#include "gridwise/ui/gridwise_windows.hpp"
#include "gridwise/ui/point_screen.hpp"
#include "gridwise/ui/setup_screen.hpp"
#include "ui/field_look.hpp"
#include "ui/recording_dialog_service.hpp"
#include "ui_test_support.hpp"

namespace gridwise_test {

using namespace ui_test;

// A fresh state and the eight windows, the set-up screen shown.
struct Windows {
    gridwise::GridwiseState state = gridwise::MakeGridwiseState();
    ui::RecordingDialogService dialogs;
    std::unique_ptr<gridwise::GridwiseWindows> windows;

    Windows() {
        windows = std::make_unique<gridwise::GridwiseWindows>(state, dialogs);
        windows->setup().show();
    }
    QWidget& setup() { return windows->setup(); }
    QWidget& point() { return windows->point(); }
    QString lastWarning() const {
        return dialogs.messages.empty() ? QString() : dialogs.messages.back().text;
    }
};

}  // namespace gridwise_test
