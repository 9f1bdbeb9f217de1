#include "app/ClueLayout.h"

#include "core/ClueLayout.h"

namespace mz {

QString FitClue(const QString& text, const std::function<bool(const QString&)>& fits)
{
    return QString::fromStdU16String(FitClue(text.toStdU16String(), [&fits](std::u16string_view caption) {
        return fits(QString::fromUtf16(caption.data(), static_cast<qsizetype>(caption.size())));
    }));
}

} // namespace mz
