#pragma once
// format=flowed text (RFC 3676) as its writer meant it: a line that ends in
// a blank continues on the next line of the same quote depth, so the soft
// breaks a mail client made are joined before the station wraps the text to
// its own line limit. Quote marks stay; space-stuffing is undone. Pure.

#include <string>
#include <string_view>

// `text` with line feeds for line ends; `deleteSpace` is the delsp=yes
// parameter (the blank before a soft break is the client's, not the writer's).
std::string UnflowText(std::string_view text, bool deleteSpace);
