#pragma once
#include <string>

// The integer input mode of an edit box, as rules on plain text.

// Whether a typed character is let through: control characters always are;
// of the others only "-" and the digits.
bool IntegerInputAccepts(unsigned char ch);

// The text an integer box is rewritten to when it loses the focus: read as a signed
// 64-bit decimal (leading blanks and one sign, up to the first non-digit, none gives 0;
// longer numbers saturate), clamped to int32, "%d", and "0" becomes empty.
std::string NormaliseIntegerText(const std::string& text);
