#include "system.h"

#include <QLocale>

namespace brindelor::tools {

std::vector<std::string> arguments(int argc, char** argv) { return {argv, argv + argc}; }

void useBinaryStreams() {}

// Qt's own locale data from LC_ALL / LC_NUMERIC / LANG: no glibc locale needed.
Separators localeSeparators()
{
    const QLocale locale = QLocale::system();
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

} // namespace brindelor::tools
