#include "app/WindowText.h"

#include "app/MessageBox.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/FileNames.h"

namespace mz {

QString FromCp1250(const std::string& text)
{
    return QString::fromStdString(Cp1250ToUtf8(text));
}

QString Formatted(const char* pattern, const QString& arg)
{
    return QString::fromStdString(FormatMessage(pattern, arg.toStdString()));
}

QString DirectoryPart(const std::string& path)
{
    return QString::fromStdString(path.substr(0, path.size() - FileNamePart(path).size()));
}

void ShowErrorBox(const QString& message)
{
    ShowMessage(message, QMessageBox::Critical);
}

} // namespace mz
