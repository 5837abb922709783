#pragma once
// Texts the adapters send and take are bytes without a declared encoding; the window and the
// command line show them, and take them from the user, as UTF-8.

#include <string>
#include <string_view>

namespace lumisk {

// Whether `bytes` is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool IsUtf8(std::string_view bytes);

// The longest start of the UTF-8 text `text` that has at most `limit` bytes and ends between two
// characters, so that cutting never splits one.
std::string_view WholeCharactersWithin(std::string_view text, std::size_t limit);

// The one reading of a text an adapter sent: the bytes themselves when they are UTF-8, otherwise
// each byte as its Windows-1252 character. The result is always UTF-8.
std::string ReadableText(std::string_view bytes);

// The byte length of the control character at the start of the UTF-8 text `text`: 1 for the C0
// controls and DEL, 2 for the C1 controls U+0080..U+009F, 0 for anything else.
std::size_t ControlCharacterLength(std::string_view text);

// ReadableText() as a terminal may show it: each control character a '?', so that nothing an
// adapter sends can end a line, move the cursor or start an escape sequence.
std::string PrintableText(std::string_view bytes);

}  // namespace lumisk
