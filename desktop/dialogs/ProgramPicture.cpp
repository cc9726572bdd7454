#include "desktop/dialogs/ProgramPicture.h"

// Qt's resource registration has to be named from the global namespace.
static void InitProgramPicture() {
    Q_INIT_RESOURCE(app);
}

namespace zv {

QIcon ProgramPicture() {
    InitProgramPicture();
    return QIcon(QStringLiteral(":/app/zarvopack.svg"));
}

}  // namespace zv
