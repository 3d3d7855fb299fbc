#pragma once
// The file boxes' newest-first order: each name goes into a sorted list box
// behind a key that falls as its file time rises, and once the box has
// sorted them the keys are taken off again.

#include <string>

struct FolderEntry;

// "key name", the key a number of as many digits for every file of the folder.
std::string NewestFirstKeyed(const FolderEntry& entry);
// The name back: the second word, so a name with a blank keeps only its
// first part, as listed; empty when there is none.
std::string WithoutNewestFirstKey(const std::string& keyed);
