#pragma once
// The plain text of an HTML mail, for a message that has no text/plain part:
// tags dropped (scripts, styles and the head with their content), <br> and
// block elements as line ends, blanks collapsed as a browser shows them (not
// in <pre>), entities decoded, a non-breaking space as a blank. Latin-1 in,
// Latin-1 out (an entity beyond Latin-1 is transliterated). Pure.

#include <string>
#include <string_view>

std::string HtmlToText(std::string_view html);
