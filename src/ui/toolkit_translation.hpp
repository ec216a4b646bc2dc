#pragma once
// The toolkit's own texts (file dialog, standard buttons) in Russian, like every text of the
// programs.

class QCoreApplication;

namespace ui {

// Loads Qt's Russian translation ("qtbase_ru" from Qt's translations folder) into the
// application; when it is not installed, the toolkit keeps its English texts.
void installToolkitTranslation(QCoreApplication& app);

}  // namespace ui
