#pragma once

namespace mz {

// The web page template (resources/web/krzyzowka.html): "@TITLE@" stands for
// the title, HTML-escaped, and "@DATA@" for the crossword as JSON.
extern const char* const HtmlPageTemplate;

} // namespace mz
