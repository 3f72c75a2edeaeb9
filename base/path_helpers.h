#pragma once
// Paths as the program keeps them: "/"-separated, folders ending in "/".

#include <string>
#include <string_view>

namespace kadrel {

// The folder part of a path, with its trailing "/"; empty when the path has none.
std::string FolderOfPath(std::string_view path);

// The folder above `folder`, ending in "/"; the root stays the root.
std::string ParentFolder(std::string_view folder);

// Shortens a path for display by replacing leading folders with "..", keeping the
// root prefix ("/" or "X:\"). Paths not longer than maximum, or maxima below 8, stay.
std::string ShortenPath(std::string_view path, int maximum);

// Makes a folder path end in "/" (empty stays empty).
std::string WithTrailingSlash(std::string_view folder);

}  // namespace kadrel
