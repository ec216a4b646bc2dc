#include "ui/dialog_service.hpp"

#include <QFileDialog>
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
    // Existing files only and several at once; the first filter is the selected one.
    const QString qtFilter = qtFileFilter(filter);
    QString selected = qtFilter.section(QStringLiteral(";;"), 0, 0);
    return QFileDialog::getOpenFileNames(parent, title, QString(), qtFilter, &selected);
}

QString qtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace ui
