#include "app/WindowText.h"

#include "app/MessageBox.h"
#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/FileNames.h"

#include <QStringList>

namespace mz {

QString Formatted(const char* pattern, const QString& arg)
{
    return QString::fromStdString(FormatMessage(pattern, arg.toStdString()));
}

QString DirectoryPart(const std::string& path)
{
    return QString::fromStdString(path.substr(0, path.size() - FileNamePart(path).size()));
}

QString WrappedText(const QString& text, int width)
{
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        QString current;
        for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!current.isEmpty() && current.size() + 1 + word.size() > width) {
                lines << current;
                current.clear();
            }
            current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        lines << current;
    }
    return lines.join(QLatin1Char('\n'));
}

void ShowErrorBox(const QString& message)
{
    ShowMessage(message, QMessageBox::Critical);
}

} // namespace mz
