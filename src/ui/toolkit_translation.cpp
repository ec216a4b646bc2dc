#include "ui/toolkit_translation.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

void installToolkitTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace ui
