#pragma once
// A dialog service for tests: every message is recorded, the open-file dialog answers with the
// next scripted list of paths (an empty list, as when the user cancels, once the script is used).

#include <deque>
#include <vector>

#include "ui/dialog_service.hpp"

namespace ui {

struct RecordedMessage {
    enum class Kind { Error, Information, Warning };
    Kind kind;
    QString caption;  // empty for error and information boxes
    QString text;
};

struct RecordedFileDialog {
    QString title;
    QString filter;
};

class RecordingDialogService final : public DialogService {
  public:
    void error(const QString& text) override {
        messages.push_back({RecordedMessage::Kind::Error, {}, text});
    }
    void information(const QString& text) override {
        messages.push_back({RecordedMessage::Kind::Information, {}, text});
    }
    void warning(const QString& caption, const QString& text) override {
        messages.push_back({RecordedMessage::Kind::Warning, caption, text});
    }
    QStringList openFiles(QWidget*, const QString& title, const QString& filter) override {
        fileDialogs.push_back({title, filter});
        if (fileAnswers.empty()) return {};
        QStringList answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    std::vector<RecordedMessage> messages;
    std::vector<RecordedFileDialog> fileDialogs;
    std::deque<QStringList> fileAnswers;
};

}  // namespace ui
