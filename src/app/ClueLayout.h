#pragma once

#include <QString>

#include <functional>

namespace mz {

// The clue fitted into the label (core/ClueLayout.h), for screen texts.
QString FitClue(const QString& text, const std::function<bool(const QString&)>& fits);

} // namespace mz
