// The files of the web page, built into the program (cmake/embed_page.cmake
// makes them from src/server/page).
#pragma once

#include <string_view>

namespace page {
extern const std::string_view html;  // page.html, with the markers where the style and script go
extern const std::string_view css;   // page.css
extern const std::string_view js;    // page.js
}  // namespace page
