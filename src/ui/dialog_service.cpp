#include "ui/dialog_service.hpp"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>

namespace ui {

void QtDialogService::error(const QString& text) {
    QMessageBox::critical(nullptr, QString(), text, QMessageBox::Ok);
}

void QtDialogService::information(const QString& text) {
    QMessageBox::information(nullptr, QString(), text, QMessageBox::Ok);
}

void QtDialogService::warning(const QString& caption, const QString& text) {
    QMessageBox::warning(nullptr, caption, text, QMessageBox::Ok);
}

QStringList QtDialogService::openFiles(QWidget* parent, const QString& title,
                                       const QString& filter) {
    const std::vector<NameFilter> filters = splitFileFilter(filter);
    QStringList descriptions;
    for (const NameFilter& entry : filters) descriptions << entry.description;

    // Qt's own dialog: the platform ones would add the patterns to the shown descriptions.
    QFileDialog dialog(parent, title, lastFolder_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(descriptions);
    // The dialog would match the text in the description's parentheses; the patterns of the
    // entry are put in its place each time an entry is chosen.
    auto* model = dialog.findChild<QFileSystemModel*>();
    const auto matchPatterns = [&](const QString& description) {
        const qsizetype index = descriptions.indexOf(description);
        if (model && index >= 0)
            model->setNameFilters(filters[static_cast<std::size_t>(index)].patterns);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, matchPatterns);
    if (!descriptions.isEmpty()) {
        dialog.selectNameFilter(descriptions.first());
        matchPatterns(descriptions.first());
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    lastFolder_ = dialog.directory().absolutePath();
    return dialog.selectedFiles();
}

std::vector<NameFilter> splitFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    std::vector<NameFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        NameFilter entry{parts[i], parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)};
        for (QString& pattern : entry.patterns) {
            pattern = pattern.trimmed();
            if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        }
        filters.push_back(std::move(entry));
    }
    return filters;
}

}  // namespace ui
