// Comparison of the DDL texts of views, procedures and triggers by what the
// server sees: layout and comments do not count, string literals and quoted
// identifiers do, byte for byte.
#pragma once

#include <string>
#include <string_view>

#include "core/kvtTypes.h"

// The text reduced to what the server reads, in the dialect `st`: comments
// outside literals are gone; every run of white space (line breaks included)
// between two words is one blank, and white space next to punctuation
// ("(", ",", "=", "+", ...) is gone. Literals ('...', "...", MySQL `...`,
// MS SQL [...]) are kept as written, and so are MySQL /*! ... */ and Oracle
// /*+ ... */ comments, which the server executes.
std::string SqlCompareForm(std::string_view text, TServerType st);

// Whether the two texts are the same once reduced by SqlCompareForm.
bool SameSqlText(std::string_view a, std::string_view b, TServerType st);
