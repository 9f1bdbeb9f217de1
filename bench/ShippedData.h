#pragma once
// The shipped templates and word database of the built program directory, as
// the benchmarks compose from them.
#include "composer/Composer.h"
#include "documents/CrossTXT.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace mz::bench {

inline const std::string AppDir = MZ_APP_DIR;
inline const std::string DatabaseFile = AppDir + "/baza.hk";

// The template files of Szablony/, in name order.
inline std::vector<std::filesystem::path> ShippedTemplates()
{
    std::vector<std::filesystem::path> templates;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(AppDir + "/Szablony")))
        if (entry.path().extension() == ".sz")
            templates.push_back(entry.path());
    std::sort(templates.begin(), templates.end());
    return templates;
}

inline TTable LoadTemplate(const std::filesystem::path& file)
{
    TCrossTXT doc;
    doc.LoadFromFile(file.string());
    return TableFromDocument(doc);
}

} // namespace mz::bench
