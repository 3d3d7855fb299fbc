#pragma once
// The file name a message takes from its subject: at most 58 characters of
// it, blanks as "_", every character that a file name must not hold (or that
// is not printable ASCII) as "$", and ".txt" after it. It never begins
// with '$' (that first character is written '_'): only the operator puts
// script commands in the queue. Pure.

#include <string>

std::string SubjectToFileName(std::string text);
