#include "desktop/platform/QtText.h"

namespace zv {

QString ShownText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace zv
