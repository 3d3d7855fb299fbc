#pragma once
// Paths are built as the station always built them ("data\\schedule.lst");
// here they meet the file system. Backslashes become '/', and a path that does
// not exist as written is matched component by component without regard to
// letter case, as the original platform's file system did.

#include <string>

// Backslashes to '/', nothing else.
std::string MapSlashes(const std::string& built);

// The path to hand to the file system: the mapped path itself when it exists,
// else each component matched case-insensitively against what exists; the
// components that match nothing keep their written form (a new file takes its
// name as written, in the folder that already exists).
std::string ResolvePath(const std::string& built);
// The folder resolved so, the last name as given: for a name whose spelling
// the caller settled already, without reading a large folder to match it.
std::string ResolveFolderOf(const std::string& built);
